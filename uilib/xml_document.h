#pragma once
// A skin file read into a small element tree with the platform's XmlLite, which is loaded at
// run time (MinGW ships no import library for it). Text content and comments are dropped;
// document type definitions are refused.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct XmlElement {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    std::vector<XmlElement> children;
};

// Reads a file (at most 64 MB); false (root untouched) when it is missing or not well-formed XML.
[[nodiscard]] bool loadXmlFile(const std::wstring& path, XmlElement& root);
// Reads XML held in memory (any encoding XmlLite detects: UTF-8 by default).
[[nodiscard]] bool loadXmlBytes(std::string_view bytes, XmlElement& root);
