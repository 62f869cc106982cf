#include "update/write_behind.h"

std::vector<char> WriteBehind::freeBuffer(std::size_t bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (spare_.empty() && buffers_ >= kBuffers) {
        changed_.wait(lock, [this] { return !spare_.empty() || error_ != ERROR_SUCCESS; });
    }
    std::vector<char> buffer;
    if (!spare_.empty()) {
        buffer = std::move(spare_.back());
        spare_.pop_back();
    } else {
        ++buffers_;
    }
    lock.unlock();
    if (buffer.size() < bytes) {
        buffer.resize(bytes);
    }
    return buffer;
}

DWORD WriteBehind::writeChunk(const Chunk& chunk) {
    DWORD written = 0;
    if (!::WriteFile(file_, chunk.bytes.data(), static_cast<DWORD>(chunk.used), &written, nullptr)) {
        const DWORD code = ::GetLastError();
        return code != ERROR_SUCCESS ? code : static_cast<DWORD>(ERROR_WRITE_FAULT);
    }
    if (written != chunk.used) {
        return ERROR_DISK_FULL;
    }
    if (hash_ != nullptr) {
        hash_->update(chunk.bytes.data(), chunk.used);
    }
    return ERROR_SUCCESS;
}

bool WriteBehind::write(std::vector<char> buffer, std::size_t used) {
    Chunk chunk{std::move(buffer), used};
    if (!writer_.joinable() && inlineWritten_ < kInlineBytes) {
        const DWORD code = error_ == ERROR_SUCCESS ? writeChunk(chunk) : error_;
        inlineWritten_ += used;
        std::lock_guard<std::mutex> lock(mutex_);
        error_ = code;
        spare_.push_back(std::move(chunk.bytes));
        return code == ERROR_SUCCESS;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (error_ != ERROR_SUCCESS) {
        return false;
    }
    queued_.push_back(std::move(chunk));
    if (!writer_.joinable()) {
        try {
            writer_ = std::thread([this] { writerLoop(); });
        } catch (...) {
            error_ = ERROR_NOT_ENOUGH_MEMORY;
            return false;
        }
    }
    changed_.notify_all();
    return true;
}

void WriteBehind::writerLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queued_.empty() || finishing_; });
        if (queued_.empty()) {
            return;
        }
        Chunk chunk = std::move(queued_.front());
        queued_.pop_front();
        DWORD code = error_;
        if (code == ERROR_SUCCESS) {
            lock.unlock();
            code = writeChunk(chunk);
            lock.lock();
        }
        error_ = code;
        spare_.push_back(std::move(chunk.bytes));
        changed_.notify_all();
    }
}

DWORD WriteBehind::finish() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finishing_ = true;
        changed_.notify_all();
    }
    if (writer_.joinable()) {
        writer_.join();
    }
    std::lock_guard<std::mutex> lock(mutex_);
    return error_;
}
