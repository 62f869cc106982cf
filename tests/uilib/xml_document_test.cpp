// Reading skin documents: long Chinese texts come through whole wherever they fall in the
// document (Wine's XmlLite garbles a UTF-8 character that straddles one of its reads), from
// memory and from files, and documents in UTF-16 still read.
#include "uilib/xml_document.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "tests/support/temp_dir.h"

namespace {

// About 40 KB of Chinese with a blank now and then, as a skin's long texts are.
std::wstring longChineseText() {
    std::wstring text;
    for (int i = 0; i < 400; ++i) {
        text += L"抵制不良游戏，拒绝盗版游戏。注意自我保护，谨防受骗上当。 ";
    }
    return text;
}

// The same text as UTF-8, put after padding blanks so that its characters fall on different
// byte offsets of the document.
std::string documentWithText(std::size_t padding, const std::string& utf8Text) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Label" + std::string(padding, ' ') + " text=\"" + utf8Text +
           "\" name=\"after\"/>";
}

std::string toUtf8(const std::wstring& text) {
    return encodeText(text, CP_UTF8).value_or(std::string());
}

void expectText(const XmlElement& root, const std::wstring& text) {
    ASSERT_EQ(root.attributes.size(), 2u);
    EXPECT_EQ(root.attributes[0].first, L"text");
    EXPECT_TRUE(root.attributes[0].second == text)
        << "the text differs from character "
        << std::mismatch(text.begin(), text.end(), root.attributes[0].second.begin(), root.attributes[0].second.end())
                   .first -
               text.begin();
    EXPECT_EQ(root.attributes[1].second, L"after");
}

TEST(XmlDocument, LongChineseTextsComeThroughWholeAtEveryOffset) {
    const std::wstring text = longChineseText();
    const std::string utf8 = toUtf8(text);
    // A character is three bytes: paddings 0 to 2 move the characters over every byte offset,
    // so that some of them straddle the end of a read whatever its length.
    for (std::size_t padding : {0u, 1u, 2u}) {
        SCOPED_TRACE(padding);
        XmlElement root;
        ASSERT_TRUE(loadXmlBytes(documentWithText(padding, utf8), root));
        expectText(root, text);
    }
}

TEST(XmlDocument, FilesKeepLongChineseTextsWholeToo) {
    const std::wstring text = longChineseText();
    TempDir folder;
    for (std::size_t padding : {0u, 1u, 2u}) {
        SCOPED_TRACE(padding);
        const std::wstring path = folder.file(L"skin" + std::to_wstring(padding) + L".xml");
        writeFileBytes(path, "\xEF\xBB\xBF" + documentWithText(padding, toUtf8(text)));
        XmlElement root;
        ASSERT_TRUE(loadXmlFile(path, root));
        expectText(root, text);
    }
    XmlElement untouched;
    untouched.name = L"kept";
    EXPECT_FALSE(loadXmlFile(folder.file(L"missing.xml"), untouched));
    EXPECT_EQ(untouched.name, L"kept");
}

TEST(XmlDocument, Utf16DocumentsStillRead) {
    const std::wstring document = L"\xFEFF<Window size='10,10'><Label text='健康游戏忠告'/></Window>";
    const std::string bytes(reinterpret_cast<const char*>(document.data()), document.size() * sizeof(wchar_t));
    XmlElement root;
    ASSERT_TRUE(loadXmlBytes(bytes, root));
    ASSERT_EQ(root.children.size(), 1u);
    EXPECT_EQ(root.children[0].attributes[0].second, L"健康游戏忠告");
}

}  // namespace
