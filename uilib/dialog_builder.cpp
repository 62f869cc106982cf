#include "uilib/dialog_builder.h"
#include "common/ascii_case.h"

#include <memory>
#include <optional>

#include "uilib/combo.h"
#include "uilib/container.h"
#include "uilib/control_factory.h"
#include "uilib/paint_manager.h"
#include "uilib/xml_document.h"

namespace {

void readFont(const XmlElement& element, CPaintManagerUI& manager) {
    int id = 0;
    FontSpec spec;
    bool isDefault = false;
    for (const auto& [name, value] : element.attributes) {
        if (name == L"id") {
            id = parseInt(value).value_or(0);
        } else if (name == L"name") {
            spec.faces = value;
        } else if (name == L"size") {
            spec.size = parseInt(value).value_or(12);
        } else if (name == L"bold") {
            spec.bold = parseBool(value).value_or(false);
        } else if (name == L"italic") {
            spec.italic = parseBool(value).value_or(false);
        } else if (name == L"underline") {
            spec.underline = parseBool(value).value_or(false);
        } else if (name == L"default") {
            isDefault = parseBool(value).value_or(false);
        }
    }
    manager.AddFont(id, spec, isDefault);
}

}  // namespace

CControlUI* CDialogBuilder::Create(std::wstring_view skin, const wchar_t* type, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent) {
    if (type != nullptr) {
        return nullptr;
    }
    XmlElement document;
    if (!loadXmlFile(joinResourcePath(CPaintManagerUI::GetResourcePath(), skin), document)) {
        return nullptr;
    }
    return Build(document, callback, manager, parent);
}

CControlUI* CDialogBuilder::CreateFromText(std::string_view xml, IDialogBuilderCallback* callback,
                                           CPaintManagerUI* manager, CControlUI* parent) {
    XmlElement document;
    if (!loadXmlBytes(xml, document)) {
        return nullptr;
    }
    return Build(document, callback, manager, parent);
}

CControlUI* CDialogBuilder::Build(const XmlElement& document, IDialogBuilderCallback* callback,
                                  CPaintManagerUI* manager, CControlUI* parent) {
    const XmlElement* rootElement = nullptr;
    if (equalsIgnoringAsciiCase(document.name, L"Window")) {
        for (const auto& [name, value] : document.attributes) {
            if (manager != nullptr) {
                manager->SetWindowAttribute(name, value);
            }
        }
        for (const XmlElement& child : document.children) {
            if (equalsIgnoringAsciiCase(child.name, L"Font")) {
                if (manager != nullptr) {
                    readFont(child, *manager);
                }
            } else if (rootElement == nullptr) {
                rootElement = &child;
            }
        }
    } else {
        rootElement = &document;
    }
    if (rootElement == nullptr) {
        return nullptr;
    }
    images_.clear();
    CControlUI* root = BuildControl(*rootElement, callback);
    if (root != nullptr && parent != nullptr && !parent->AddChild(root)) {
        images_.clear();
        return nullptr;  // deleted by the parent, which takes no such child
    }
    if (root != nullptr && manager != nullptr) {
        // The images of what the first frame shows are decoded first; those of hidden pages
        // and controls wait with the state images until the first frame is out.
        for (const NamedImage& image : images_) {
            manager->PrefetchImage(image.description, image.control->IsVisible() ? image.need : ImageNeed::OnInput);
        }
    }
    images_.clear();
    return root;
}

CControlUI* CDialogBuilder::BuildControl(const XmlElement& element, IDialogBuilderCallback* callback) {
    std::unique_ptr<CControlUI> control(createBuiltinControl(element.name));
    if (!control && callback != nullptr) {
        control.reset(callback->CreateControl(element.name.c_str()));
    }
    if (!control) {
        return nullptr;
    }
    for (const auto& [name, value] : element.attributes) {
        control->SetAttribute(name, value);
        if (const std::optional<ImageNeed> need = imageAttributeNeed(name)) {
            images_.push_back(NamedImage{control.get(), value, *need});
        }
    }
    for (const XmlElement& childElement : element.children) {
        const std::size_t firstImage = images_.size();
        CControlUI* child = BuildControl(childElement, callback);
        if (child == nullptr || !control->AddChild(child)) {
            // What the control cannot hold goes, and its images with it.
            images_.resize(firstImage);
        }
    }
    return control.release();
}
