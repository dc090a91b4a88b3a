// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/xmlscanner.h"

#include <gtest/gtest.h>

#include <string>

#include "book/xmltext.h"

namespace korvin {
namespace {

using Token = XmlScanner::Token;

// The tokens of a document in short: "<a x=1>" a start tag with its
// attributes, "</a>" an end tag, "'text'" a text, "[cdata]", then "end" or
// "error".
std::string trace(std::string_view document)
{
    XmlScanner scanner(document);
    std::string out;
    for (;;) {
        const Token token = scanner.next();
        switch (token) {
        case Token::kStartElement:
            out += "<" + std::string(scanner.name());
            for (const auto& [name, value] : scanner.attributes())
                out += " " + std::string(name) + "=" + std::string(value);
            out += scanner.isEmptyElement() ? "/>" : ">";
            break;
        case Token::kEndElement:
            out += "</" + std::string(scanner.name()) + ">";
            break;
        case Token::kText:
            out += scanner.isCData() ? "[" + std::string(scanner.text()) + "]" : "'" + std::string(scanner.text()) + "'";
            break;
        case Token::kEnd:
            return out + "end";
        case Token::kError:
            return out + "error";
        }
    }
}

struct ScanCase {
    const char* what;
    std::string document;
    std::string tokens;
};

// A malformed document ends with an error after what came before it.
TEST(XmlScanner, HandsOutTheTokensOfADocumentUpToItsEndOrItsFirstError)
{
    const ScanCase cases[] = {
        {"elements, attributes, text", "<a x=\"1\" y='2'>hi<b/></a>", "<a x=1 y=2>'hi'<b/></b></a>end"},
        {"declaration, comment, processing instruction",
         "<?xml version=\"1.0\"?><!-- c --><?pi x?><a><!-- <b> --></a>", "<a></a>end"},
        {"white space inside tags", "<a\n  x = \"1\"\t></a >", "<a x=1></a>end"},
        {"a prefixed name", "<dc:Title>T</dc:Title>", "<dc:Title>'T'</dc:Title>end"},
        {"CDATA taken literally", "<a><![CDATA[<b>&amp;]]></a>", "<a>[<b>&amp;]</a>end"},
        {"DOCTYPE with an external id", "<!DOCTYPE a PUBLIC \"-//X//EN\" \"http://example.org/a.dtd\"><a/>",
         "<a/></a>end"},
        {"DOCTYPE with an internal subset that declares entities",
         "<!DOCTYPE a [<!ENTITY e \"x]>\"><!-- ] > --><!ENTITY f SYSTEM \"file:///etc/passwd\">]><a>&e;&f;</a>",
         "<a>'&e;&f;'</a>end"},
        {"what follows the root element is not read", "<a/><b>", "<a/></a>end"},
        {"text outside the root element is passed over", " x <a/>", "<a/></a>end"},
        {"unterminated element", "<a><b>text", "<a><b>'text'error"},
        {"unterminated tag", "<a><b x=\"1\"", "<a>error"},
        {"unterminated attribute value", "<a x=\"1>", "error"},
        {"end tag of another element", "<a><b></a>", "<a><b>error"},
        {"end tag without a start", "</a>", "error"},
        {"less-than inside an attribute value", "<a x=\"<\"/>", "error"},
        {"less-than inside a value of a later tag", "<a x=\"1\">t<b y=\"2\"/><c z=\"3<\"/></a>",
         "<a x=1>'t'<b y=2/></b>error"},
        {"a value whose quote comes after the next tag", "<a x=\"1><b y=\"2\"/></a>", "error"},
        {"attribute without quotes", "<a x=1/>", "error"},
        {"attributes without space between", "<a x=\"1\"y=\"2\"/>", "error"},
        {"unknown declaration", "<a><!ELEMENT a ANY></a>", "<a>error"},
        {"DOCTYPE after the root element began", "<a><!DOCTYPE a></a>", "<a>error"},
        {"unterminated DOCTYPE subset", "<!DOCTYPE a [ <!ENTITY e \"x\"> <a/>", "error"},
        {"unterminated comment", "<a><!-- x", "<a>error"},
        {"unterminated CDATA", "<a><![CDATA[x", "<a>error"},
        {"empty document", "", "error"},
        {"a lone less-than", "<a><", "<a>error"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(trace(c.document), c.tokens) << c.what;
}

TEST(XmlScanner, RefusesNestingBeyondItsDepthAndStaysLinearOnHugeInput)
{
    std::string deep;
    for (std::size_t i = 0; i < XmlScanner::kMaxDepth + 1; ++i)
        deep += "<a>";
    XmlScanner scanner(deep);
    std::size_t starts = 0;
    Token token;
    while ((token = scanner.next()) == Token::kStartElement)
        ++starts;
    EXPECT_EQ(token, Token::kError);
    EXPECT_EQ(starts, XmlScanner::kMaxDepth);

    // A 16 MB attribute value is one view into the document.
    const std::string value(16 * 1024 * 1024, 'v');
    const std::string document = "<a x=\"" + value + "\"/>";
    XmlScanner huge(document);
    ASSERT_EQ(huge.next(), Token::kStartElement);
    EXPECT_EQ(huge.attribute("x").size(), value.size());
    EXPECT_EQ(huge.attribute("y"), "");
}

TEST(XmlScanner, ClosesAnEmptyElementWithoutHandingOutItsEnd)
{
    XmlScanner scanner("<r><a/><b/></r>");
    ASSERT_EQ(scanner.next(), Token::kStartElement);
    scanner.closeEmptyElement();  // not empty: nothing happens
    ASSERT_EQ(scanner.next(), Token::kStartElement);
    scanner.closeEmptyElement();
    EXPECT_EQ(scanner.depth(), 1u);
    ASSERT_EQ(scanner.next(), Token::kStartElement);
    EXPECT_EQ(scanner.name(), "b");
    EXPECT_EQ(scanner.next(), Token::kEndElement);
    EXPECT_EQ(scanner.next(), Token::kEndElement);
    EXPECT_EQ(scanner.next(), Token::kEnd);

    XmlScanner root("<a/><b>");
    ASSERT_EQ(root.next(), Token::kStartElement);
    root.closeEmptyElement();
    EXPECT_EQ(root.next(), Token::kEnd);
}

TEST(XmlScanner, ReadsAnElementsTextUpToItsEnd)
{
    XmlScanner scanner("<r><t>a &amp; <i>b</i><![CDATA[&c]]></t><u>x</u></r>");
    ASSERT_EQ(scanner.next(), Token::kStartElement);
    ASSERT_EQ(scanner.next(), Token::kStartElement);
    EXPECT_EQ(elementText(scanner), "a & b&c");
    ASSERT_EQ(scanner.next(), Token::kStartElement);
    EXPECT_EQ(scanner.name(), "u");
    EXPECT_EQ(elementText(scanner, 0), "");  // passed over
    EXPECT_EQ(scanner.next(), Token::kEndElement);
    EXPECT_EQ(scanner.next(), Token::kEnd);
}

// A reader that passes over text and asks for it after a token gets the
// text from there on, once: none before, none twice.
TEST(XmlScanner, HandsOutTextFromWhereItIsAskedFor)
{
    struct Case {
        const char* document;
        int tokensBefore;  // without text
        const char* texts;
    };
    const Case cases[] = {
        {"<a><b>x</b></a>", 2, "'x'"},
        {"<a><b>x</b></a>", 1, "'x'"},
        {"<a><b/>x</a>", 2, "'x'"},
        {"<a><b/>x</a>", 3, "'x'"},
        {"<a>1<b></b>2</a>", 3, "'2'"},
        {"<a>1<b></b>2</a>", 2, "'2'"},
        {"<a>1<b x=\"&gt;\">2</b>3</a>", 2, "'2''3'"},
        {"<a>x<!-- y -->z<?p q?>w</a>", 1, "'x''z''w'"},
        {"<a> <![CDATA[<z>]]></a>", 1, "' '[<z>]"},
        {"<a>x</a>", 0, "'x'"},
        {"<a>x</a>", 3, ""},
        {"<a>x", 1, "'x'"},
    };
    for (const Case& c : cases) {
        XmlScanner scanner(c.document);
        scanner.setTextWanted(false);
        std::string texts;
        for (int tokens = 0;; ++tokens) {
            if (tokens == c.tokensBefore)
                scanner.setTextWanted(true);
            const Token token = scanner.next();
            if (token == Token::kEnd || token == Token::kError)
                break;
            if (token == Token::kText)
                texts += scanner.isCData() ? "[" + std::string(scanner.text()) + "]" : "'" + std::string(scanner.text()) + "'";
        }
        EXPECT_EQ(texts, c.texts) << c.document << " after " << c.tokensBefore;
    }
}

TEST(XmlText, DecodesThePredefinedEntitiesAndCharacterReferencesOnly)
{
    const struct {
        const char* raw;
        const char* text;
    } cases[] = {
        {"a &lt;b&gt; &amp; &quot;c&quot; &apos;d&apos;", "a <b> & \"c\" 'd'"},
        {"&#65;&#x42;&#X43;", "ABC"},
        {"&#x20AC;", "\xE2\x82\xAC"},
        {"&#0;&#xD800;&#x110000;&#99999999999;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"&#xZZ;", "\xEF\xBF\xBD"},
        {"&nbsp;&e; &unknown", "&nbsp;&e; &unknown"},  // never expanded
        {"AT&T; &;", "AT&T; &;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(xmlText(c.raw), c.text) << c.raw;
}

TEST(XmlText, CollapsesWhiteSpaceOfLabels)
{
    EXPECT_EQ(collapseWhiteSpace("    Understanding\n  Mental Illness\n"), "Understanding Mental Illness");
    EXPECT_EQ(collapseWhiteSpace(" \t\r\n "), "");
    EXPECT_EQ(trimWhiteSpace("  a  b \n"), "a  b");
    EXPECT_TRUE(equalsIgnoringAsciiCase("dc:Title", "DC:title"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("dc:Title", "dc:Titles"));
}

}  // namespace
}  // namespace korvin
