// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmllinktarget.h"

#include "support/tempdir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace korvin {
namespace {

TEST(HtmlLinkTarget, ReadsLocationsGivenToNavigate)
{
    const HtmlLinkTarget plain = HtmlLinkTarget::ofLocation("/books/a/content.html#p5");
    EXPECT_EQ(plain.path, "/books/a/content.html");
    EXPECT_TRUE(plain.hasFragment);
    EXPECT_EQ(plain.fragment, "p5");
    EXPECT_EQ(plain.url(), "/books/a/content.html#p5");

    const HtmlLinkTarget relative = HtmlLinkTarget::ofLocation("docs/start_en.html");
    EXPECT_EQ(relative.path, QDir::currentPath() + "/docs/start_en.html");
    EXPECT_FALSE(relative.hasFragment);
    EXPECT_EQ(relative.url(), (QDir::currentPath() + "/docs/start_en.html").toStdString());

    const HtmlLinkTarget url = HtmlLinkTarget::ofLocation("file:///books/my%20book/ncc.html#h%201");
    EXPECT_EQ(url.path, "/books/my book/ncc.html");
    EXPECT_EQ(url.fragment, "h 1");

    EXPECT_TRUE(HtmlLinkTarget::ofLocation("").path.isEmpty());
}

TEST(HtmlLinkTarget, KeepsAHashThatBelongsToAnExistingFilesName)
{
    test::TempDir dir;
    const std::string file = dir.write("C#/text.html", "x").string();
    const HtmlLinkTarget target = HtmlLinkTarget::ofLocation(QString::fromStdString(file));
    EXPECT_EQ(target.path.toStdString(), file);
    EXPECT_FALSE(target.hasFragment);
}

TEST(HtmlLinkTarget, ResolvesHrefsAgainstTheDocumentsFolder)
{
    const QString document = "/books/b/text/content.html";
    EXPECT_EQ(HtmlLinkTarget::ofHref("chap2.smil#par_12", document).url(), "/books/b/text/chap2.smil#par_12");
    EXPECT_EQ(HtmlLinkTarget::ofHref("../ncc.html", document).url(), "/books/b/ncc.html");
    EXPECT_EQ(HtmlLinkTarget::ofHref("..\\smil\\s1.smil#t%201", document).url(), "/books/b/smil/s1.smil#t 1");
    EXPECT_EQ(HtmlLinkTarget::ofHref("sub%20dir/x.html", document).url(), "/books/b/text/sub dir/x.html");
    EXPECT_EQ(HtmlLinkTarget::ofHref(" #p40 ", document).url(), "/books/b/text/content.html#p40");
    EXPECT_EQ(HtmlLinkTarget::ofHref("/abs/file.html", document).url(), "/abs/file.html");
    EXPECT_EQ(HtmlLinkTarget::ofHref("file:///abs/other.html#x", document).url(), "/abs/other.html#x");

    const HtmlLinkTarget web = HtmlLinkTarget::ofHref("http://example.org/a?b=1#c", document);
    EXPECT_EQ(web.external, "http://example.org/a?b=1#c");
    EXPECT_EQ(web.url(), "http://example.org/a?b=1#c");
    EXPECT_EQ(HtmlLinkTarget::ofHref("mailto:someone@example.org", document).url(), "mailto:someone@example.org");
}

}  // namespace
}  // namespace korvin
