// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/texthighlighter.h"

#include <gtest/gtest.h>

#include "support/fakeplatform.h"

namespace korvin {
namespace {

using test::FakeHtmlView;

class TextHighlighterTest : public ::testing::Test {
protected:
    TextHighlighterTest()
    {
        m_view.addDocument("/book/text.html", {{"p4", "Vier"}, {"p5", "Fünf <b>fett</b>"}, {"p6", "Sechs"}});
        m_view.addDocument("/book/other.html", {{"p5", "Anders"}});
        m_view.navigate("/book/text.html");
        m_context.bookOpen = true;
        m_context.bookFolder = "/book/";
        m_context.bookInfo.title = "Buch";
        m_context.style.bold = true;
    }

    FakeHtmlView m_view;
    TextHighlighter m_highlighter{m_view};
    TextHighlighter::Context m_context;
};

TEST_F(TextHighlighterTest, WrapsTheElementsContentAndRestoresItExactlyWhenMovingOn)
{
    m_highlighter.highlightFragment("p5", m_context);
    EXPECT_EQ(m_view.elementInnerHtml("p5"), "<SPAN style=\"FONT-WEIGHT: bold\">Fünf <b>fett</b></SPAN>");
    m_highlighter.highlightFragment("p6", m_context);
    EXPECT_EQ(m_view.elementInnerHtml("p5"), "Fünf <b>fett</b>");
    EXPECT_EQ(m_view.elementInnerHtml("p6"), "<SPAN style=\"FONT-WEIGHT: bold\">Sechs</SPAN>");
}

TEST_F(TextHighlighterTest, SpansOfTheTextItselfSurviveTheHighlightsRemoval)
{
    m_view.addDocument("/book/spans.html", {{"p1", "<SPAN class=\"s\">Satz eins.</SPAN> <SPAN class=\"s\">Zwei.</SPAN>"},
                                            {"p2", "Weiter"}});
    m_view.navigate("/book/spans.html");
    m_highlighter.highlightFragment("p1", m_context);
    m_highlighter.highlightFragment("p2", m_context);
    EXPECT_EQ(m_view.elementInnerHtml("p1"), "<SPAN class=\"s\">Satz eins.</SPAN> <SPAN class=\"s\">Zwei.</SPAN>");
}

TEST_F(TextHighlighterTest, TheSameFragmentTwiceChangesNothing)
{
    m_highlighter.highlightFragment("p5", m_context);
    m_highlighter.highlightFragment("P5", m_context);  // letter case does not count here
    EXPECT_EQ(m_view.elementInnerHtml("p5"), "<SPAN style=\"FONT-WEIGHT: bold\">Fünf <b>fett</b></SPAN>");
}

TEST_F(TextHighlighterTest, ANewStyleShowsAtTheNextHighlightAndTheOldMarkupIsRemovedInItsOwnForm)
{
    m_context.style = TextStyle{true, false, false, false, "#ff8000"};
    m_highlighter.highlightFragment("p4", m_context);
    EXPECT_EQ(m_view.elementInnerHtml("p4"), "<SPAN style=\"BACKGROUND-COLOR: #ff8000\">Vier</SPAN>");
    m_context.style = TextStyle{false, true, false, false, "#ff8000"};
    m_highlighter.highlightFragment("p5", m_context);
    EXPECT_EQ(m_view.elementInnerHtml("p4"), "Vier");
    EXPECT_EQ(m_view.elementInnerHtml("p5"), "<SPAN style=\"FONT-STYLE: italic\">Fünf <b>fett</b></SPAN>");
}

TEST_F(TextHighlighterTest, ANewDocumentIsNotCleanedOfTheOldDocumentsHighlight)
{
    m_highlighter.highlightFragment("p5", m_context);
    m_view.navigate("/book/other.html");
    m_highlighter.highlightFragment("p5", m_context);
    EXPECT_EQ(m_view.elementInnerHtml("p5"), "<SPAN style=\"FONT-WEIGHT: bold\">Anders</SPAN>");
}

TEST_F(TextHighlighterTest, AnotherBookWithTheSameFolderAndDocumentIsNotTouched)
{
    m_highlighter.highlightFragment("p5", m_context);
    m_view.setElementInnerHtml("p5", "Neu");  // the other book's element, without our markup
    m_context.bookInfo.title = "Anderes Buch";
    m_highlighter.highlightFragment("p6", m_context);
    EXPECT_EQ(m_view.elementInnerHtml("p5"), "Neu");
}

TEST_F(TextHighlighterTest, CentresTheElementOrGoesToTheEndNearTheEndOfTheDocument)
{
    m_view.elementTop = 1000;
    m_view.height = 400;
    m_view.scrollHeight = 5000;
    m_highlighter.highlightFragment("p5", m_context);
    EXPECT_EQ(m_view.scrolledTo, "p5");
    EXPECT_EQ(m_view.scrollTop(), 800);

    m_view.elementTop = 4700;
    m_highlighter.highlightFragment("p6", m_context);
    EXPECT_EQ(m_view.scrollTop(), 5000);
}

TEST_F(TextHighlighterTest, NothingIsHighlightedOnTheStartPageOrWithoutABookOrAStyle)
{
    m_context.startPage = true;
    m_highlighter.highlightFragment("p5", m_context);
    m_context.startPage = false;
    m_context.bookOpen = false;
    m_highlighter.highlightFragment("p5", m_context);
    m_context.bookOpen = true;
    m_context.style = TextStyle{};
    m_highlighter.highlightFragment("p5", m_context);
    EXPECT_EQ(m_view.elementInnerHtml("p5"), "Fünf <b>fett</b>");
    m_view.scrolledTo.clear();
    m_view.navigate("/data/documents/html/start_de.html");
    m_context.style.bold = true;
    m_highlighter.highlightFragment("p5", m_context);
    EXPECT_TRUE(m_view.scrolledTo.empty());
}

TEST_F(TextHighlighterTest, AMissingElementIsRememberedAndLeavesTheDocumentAlone)
{
    m_highlighter.highlightFragment("p5", m_context);
    m_highlighter.highlightFragment("gone", m_context);
    EXPECT_EQ(m_view.elementInnerHtml("p5"), "Fünf <b>fett</b>");
    m_highlighter.highlightFragment("p6", m_context);  // nothing of "gone" to take out
    EXPECT_EQ(m_view.elementInnerHtml("p6"), "<SPAN style=\"FONT-WEIGHT: bold\">Sechs</SPAN>");
}

// ---------------------------------------------------------------------------

class TermMarkingTest : public TextHighlighterTest {
protected:
    TermMarkingTest()
    {
        m_view.addDocument("/book/terms.html", {{"a", "Haus haus HAUS"}, {"b", "haushaus Hause"}});
        m_view.navigate("/book/terms.html");
        m_context.style = TextStyle{false, false, true, false, ""};
    }
    static constexpr const char* kOpen = "<span style=\"FONT-WEIGHT: BOLD\">";
};

TEST_F(TermMarkingTest, MarksEveryOccurrenceWithoutRegardToCaseButOnlyEveryOtherOfAdjacentOnes)
{
    m_highlighter.markSearchTerm("haus", m_context);
    const std::string open = kOpen;
    EXPECT_EQ(m_view.bodyInnerHtml(), "<BODY><P id=\"a\">" + open + "Haus</SPAN> " + open + "haus</SPAN> " + open +
                                          "HAUS</SPAN></P><P id=\"b\">" + open + "haus</SPAN>haus " + open +
                                          "Haus</SPAN>e</P></BODY>");
}

TEST_F(TermMarkingTest, ANewTermFirstRemovesTheOldMarking)
{
    m_highlighter.markSearchTerm("haus", m_context);
    m_highlighter.markSearchTerm("hause", m_context);
    const std::string open = kOpen;
    EXPECT_EQ(m_view.bodyInnerHtml(), "<BODY><BODY><P id=\"a\">Haus haus HAUS</P><P id=\"b\">haushaus " + open +
                                          "Hause</SPAN></P></BODY></BODY>");
}

TEST_F(TermMarkingTest, ATermInsideTheOpenMarkupDoesNotCutTheText)
{
    m_context.style = TextStyle{true, false, false, false, "#ff8000"};
    m_view.addDocument("/book/color.html", {{"a", "color and more color"}});
    m_view.navigate("/book/color.html");
    m_highlighter.markSearchTerm("color", m_context);
    m_highlighter.markSearchTerm("more", m_context);
    const std::string body = m_view.bodyInnerHtml().value_or("");
    EXPECT_NE(body.find("color and <span style=\"BACKGROUND-COLOR: #ff8000\">more</SPAN> color"), std::string::npos)
        << body;
}

TEST_F(TermMarkingTest, IsNotMarkedInTheNavigationFileTheStartPageOrAfterATextSearch)
{
    m_view.addDocument("/book/ncc.html", {{"a", "Haus"}});
    m_view.navigate("/book/ncc.html");
    m_highlighter.markSearchTerm("haus", m_context);
    EXPECT_EQ(m_view.bodyInnerHtml(), "<P id=\"a\">Haus</P>");

    m_view.navigate("/book/terms.html");
    m_context.textSearchMode = true;
    m_highlighter.markSearchTerm("haus", m_context);
    EXPECT_EQ(m_view.bodyInnerHtml(), "<P id=\"a\">Haus haus HAUS</P><P id=\"b\">haushaus Hause</P>");

    m_context.textSearchMode = false;
    m_context.startPage = true;
    m_highlighter.markSearchTerm("hause", m_context);
    EXPECT_EQ(m_view.bodyInnerHtml(), "<P id=\"a\">Haus haus HAUS</P><P id=\"b\">haushaus Hause</P>");
}

TEST_F(TermMarkingTest, AnEmptyTermAfterAMarkingRemovesItAndAFollowingTermIsMarkedSafely)
{
    m_highlighter.markSearchTerm("hause", m_context);
    m_highlighter.markSearchTerm("", m_context);
    EXPECT_EQ(m_view.bodyInnerHtml().value_or("").find("<span"), std::string::npos);
    m_highlighter.markSearchTerm("haus", m_context);  // must not hang on the empty last term
    EXPECT_NE(m_view.bodyInnerHtml().value_or("").find("<span"), std::string::npos);
}

}  // namespace
}  // namespace korvin

namespace korvin {
namespace {

// Marking reads the text only: tags, attribute values, references and
// script are left whole, and the removal gives the markup back exactly.
TEST_F(TermMarkingTest, MarksTheTermInTheTextOnlyAndTakesTheMarkingOutExactly)
{
    struct Case {
        const char* inner;
        const char* term;
        const char* marked;  // the paragraph's markup after marking; "@" stands for the open markup
    };
    const Case cases[] = {
        {"<SPAN class=\"span\" style=\"color: red\">Farbe</SPAN>", "span", nullptr},
        {"<SPAN class=\"span\" style=\"color: red\">color</SPAN>", "color",
         "<SPAN class=\"span\" style=\"color: red\">@color</SPAN></SPAN>"},
        {"<A title=\"a > b\" href=\"x\">Vertrag</A>", "b", nullptr},
        {"M&amp;M und &amp;amp;", "m&m", "@M&amp;M</SPAN> und &amp;amp;"},
        {"M&amp;M und &lt;P&gt;", "amp", nullptr},
        {"Fünf <B>fett</B>", "fünf fett", nullptr},
        {"<SCRIPT>var vertrag = 1;</SCRIPT>Vertrag", "vertrag", "<SCRIPT>var vertrag = 1;</SCRIPT>@Vertrag</SPAN>"},
        {"<!-- Vertrag -->Ver&shy;trag am&nbsp;Ende", "vertrag am ende",
         "<!-- Vertrag -->@Ver&shy;trag am&nbsp;Ende</SPAN>"},
        {"ÜBER über", "über", "@ÜBER</SPAN> @über</SPAN>"},
    };
    const std::string open = kOpen;
    for (const Case& c : cases) {
        const std::string path = std::string("/book/") + c.term + ".html";
        m_view.addDocument(path, {{"a", c.inner}});
        m_view.navigate(path);
        m_highlighter.markSearchTerm(c.term, m_context);
        std::string expected = c.marked ? c.marked : c.inner;
        for (std::size_t at; (at = expected.find('@')) != std::string::npos;)
            expected.replace(at, 1, open);
        EXPECT_EQ(m_view.bodyInnerHtml(), "<BODY><P id=\"a\">" + expected + "</P></BODY>") << c.term;
        // The fake view keeps the body tags the marking sets.
        m_highlighter.markSearchTerm("nirgends", m_context);
        EXPECT_EQ(m_view.bodyInnerHtml(), "<BODY><BODY><P id=\"a\">" + std::string(c.inner) + "</P></BODY></BODY>")
            << c.term;
    }
}

}  // namespace
}  // namespace korvin
