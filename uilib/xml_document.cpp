#include "uilib/xml_document.h"

#include <windows.h>
#include <objidl.h>
#include <xmllite.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>

#include "common/com_barrier.h"
#include "common/com_ptr.h"
#include "common/unique_handle.h"
#include "common/whole_file.h"

namespace {

using CreateXmlReaderFunction = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

struct ModuleTraits {
    using pointer = HMODULE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer value) noexcept { ::FreeLibrary(value); }
};

// xmllite.dll stays loaded for the life of the process once a skin has been read.
CreateXmlReaderFunction createXmlReader() {
    static std::once_flag once;
    static CreateXmlReaderFunction function = nullptr;
    std::call_once(once, [] {
        static UniqueHandle<ModuleTraits> module(::LoadLibraryW(L"xmllite.dll"));
        if (module) {
            function = reinterpret_cast<CreateXmlReaderFunction>(
                reinterpret_cast<void*>(::GetProcAddress(module.get(), "CreateXmlReader")));
        }
    });
    return function;
}

bool readAttributes(IXmlReader* reader, XmlElement& element) {
    HRESULT hr = reader->MoveToFirstAttribute();
    while (hr == S_OK) {
        const wchar_t* name = nullptr;
        const wchar_t* value = nullptr;
        if (FAILED(reader->GetLocalName(&name, nullptr)) || FAILED(reader->GetValue(&value, nullptr))) {
            return false;
        }
        element.attributes.emplace_back(name, value);
        hr = reader->MoveToNextAttribute();
    }
    reader->MoveToElement();
    return SUCCEEDED(hr);
}

bool readStream(ISequentialStream* stream, XmlElement& root) {
    const CreateXmlReaderFunction create = createXmlReader();
    if (create == nullptr || stream == nullptr) {
        return false;
    }
    ComPtr<IXmlReader> reader;
    if (FAILED(create(__uuidof(IXmlReader), reader.putVoid(), nullptr)) ||
        FAILED(reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
        FAILED(reader->SetInput(stream))) {
        return false;
    }
    XmlElement document;
    std::vector<XmlElement*> open{&document};
    XmlNodeType type;
    HRESULT hr;
    while ((hr = reader->Read(&type)) == S_OK) {
        if (type == XmlNodeType_Element) {
            XmlElement element;
            const wchar_t* name = nullptr;
            if (FAILED(reader->GetLocalName(&name, nullptr))) {
                return false;
            }
            element.name = name;
            const bool empty = reader->IsEmptyElement() != FALSE;
            if (!readAttributes(reader.get(), element)) {
                return false;
            }
            open.back()->children.push_back(std::move(element));
            if (!empty) {
                open.push_back(&open.back()->children.back());
            }
        } else if (type == XmlNodeType_EndElement) {
            if (open.size() <= 1) {
                return false;
            }
            open.pop_back();
        }
    }
    if (FAILED(hr) || open.size() != 1 || document.children.size() != 1) {
        return false;
    }
    root = std::move(document.children.front());
    return true;
}

// A document held in memory, read by XmlLite. Wine's XmlLite garbles a UTF-8 character that
// straddles the end of one read, as long Chinese texts of a skin do; so every read of a UTF-8
// document ends right after an ASCII byte (a character of its own) when the requested span
// holds one. The object lives on the stack of its reader's caller and outlives the reader.
class DocumentStream final : public ISequentialStream {
public:
    DocumentStream(std::string_view bytes, bool utf8) : bytes_(bytes), utf8_(utf8) {}
    DocumentStream(const DocumentStream&) = delete;
    DocumentStream& operator=(const DocumentStream&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_ISequentialStream) {
            *object = static_cast<ISequentialStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override { return --references_; }

    STDMETHODIMP Read(void* buffer, ULONG wanted, ULONG* got) override {
        return comBarrier([&] { return ReadSpan(static_cast<char*>(buffer), wanted, got); });
    }
    STDMETHODIMP Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }

private:
    HRESULT ReadSpan(char* buffer, ULONG wanted, ULONG* got) {
        std::size_t count = std::min<std::size_t>(wanted, bytes_.size() - done_);
        if (utf8_ && done_ + count < bytes_.size()) {
            const std::string_view span = bytes_.substr(done_, count);
            const auto ascii =
                std::find_if(span.rbegin(), span.rend(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
            if (ascii != span.rend()) {
                count = static_cast<std::size_t>(span.rend() - ascii);
            }
        }
        std::copy_n(bytes_.data() + done_, count, buffer);
        done_ += count;
        if (got != nullptr) {
            *got = static_cast<ULONG>(count);
        }
        return count < wanted && done_ == bytes_.size() ? S_FALSE : S_OK;
    }

    std::string_view bytes_;
    bool utf8_;
    std::size_t done_ = 0;
    ULONG references_ = 0;
};

// UTF-16 documents start with a byte-order mark or with a zero byte of their first character.
bool isUtf16(std::string_view bytes) {
    return bytes.size() >= 2 &&
           (bytes[0] == '\0' || bytes[1] == '\0' || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"));
}

bool readBytes(std::string_view bytes, XmlElement& root) {
    DocumentStream stream(bytes, !isUtf16(bytes));
    return readStream(&stream, root);
}

// Skins are small: a larger file is not one.
constexpr std::size_t kMostFileBytes = 64u << 20;

}  // namespace

bool loadXmlFile(const std::wstring& path, XmlElement& root) {
    const std::optional<std::string> bytes = readWholeFile(path, kMostFileBytes);
    return bytes && readBytes(*bytes, root);
}

bool loadXmlBytes(std::string_view bytes, XmlElement& root) {
    return readBytes(bytes, root);
}
