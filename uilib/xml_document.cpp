#include "uilib/xml_document.h"

#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <climits>
#include <mutex>

#include "common/unique_handle.h"

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

template <typename T>
struct ComPtr {
    T* p = nullptr;
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p != nullptr) {
            p->Release();
        }
    }
};

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

bool readStream(IStream* stream, XmlElement& root) {
    const CreateXmlReaderFunction create = createXmlReader();
    if (create == nullptr || stream == nullptr) {
        return false;
    }
    ComPtr<IXmlReader> reader;
    if (FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader.p), nullptr)) ||
        FAILED(reader.p->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
        FAILED(reader.p->SetInput(stream))) {
        return false;
    }
    XmlElement document;
    std::vector<XmlElement*> open{&document};
    XmlNodeType type;
    HRESULT hr;
    while ((hr = reader.p->Read(&type)) == S_OK) {
        if (type == XmlNodeType_Element) {
            XmlElement element;
            const wchar_t* name = nullptr;
            if (FAILED(reader.p->GetLocalName(&name, nullptr))) {
                return false;
            }
            element.name = name;
            const bool empty = reader.p->IsEmptyElement() != FALSE;
            if (!readAttributes(reader.p, element)) {
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

}  // namespace

bool loadXmlFile(const std::wstring& path, XmlElement& root) {
    ComPtr<IStream> stream;
    if (FAILED(::SHCreateStreamOnFileW(path.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, &stream.p))) {
        return false;
    }
    return readStream(stream.p, root);
}

bool loadXmlBytes(std::string_view bytes, XmlElement& root) {
    if (bytes.size() > UINT_MAX) {
        return false;
    }
    ComPtr<IStream> stream;
    stream.p = ::SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    return readStream(stream.p, root);
}
