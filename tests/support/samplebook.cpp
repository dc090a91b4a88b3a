// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/samplebook.h"

namespace korvin::test {

void writeSampleBook(TestBook& book, ControllerHarness& harness)
{
    book.writeNcc(TestBook::Ncc()
                      .meta("dc:title", "Beispiel")
                      .meta("dc:identifier", "sample-1")
                      .meta("ncc:tocItems", "5")
                      .meta("ncc:charset", "utf-8")
                      .heading(1, "Eins", "a.smil#p1")
                      .page("1", "a.smil#p1")
                      .heading(2, "Zwei", "b.smil#p4")
                      .page("2", "b.smil#p5")
                      .heading(1, "Drei", "c.smil#p7"));
    book.writeSmil("a.smil", TestBook::Smil()
                                 .timeInThisSmil("0:00:06")
                                 .par("p1", "doc1.html#t1", {{"a.mp3", "0.000", "2.000"}})
                                 .par("p2", "doc1.html#t2", {{"a.mp3", "2.000", "4.000"}})
                                 .par("p3", "doc1.html#t3", {{"a.mp3", "4.000", "6.000"}}));
    book.writeSmil("b.smil", TestBook::Smil()
                                 .timeInThisSmil("0:00:05")
                                 .par("p4", "doc1.html#t4", {{"b.mp3", "0.000", "1.500"}})
                                 .par("p5", "doc1.html#t5", {{"b.mp3", "1.500", "3.000"}}, "footnote-on")
                                 .par("p6", "doc2.html#t6", {{"b.mp3", "3.000", "5.000"}}));
    book.writeSmil("c.smil", TestBook::Smil()
                                 .timeInThisSmil("0:00:04")
                                 .par("p7", "doc2.html#t7")
                                 .par("p8", "doc2.html#t8", {{"c.mp3", "0.000", "2.000"}})
                                 .par("p9", "doc2.html#t9", {{"c.mp3", "2.000", "4.000"}}));
    book.writeHtml("doc1.html", {{"t1", "Eins"}, {"t2", "Zwei"}, {"t3", "Drei"}, {"t4", "Vier"}, {"t5", "Fünf"}});
    book.writeHtml("doc2.html", {{"t6", "Sechs"}, {"t7", "Sieben"}, {"t8", "Acht"}, {"t9", "Neun"}});

    harness.player.addFile(book.folder() + "a.mp3", 6.5);
    harness.player.addFile(book.folder() + "b.mp3", 5.2);
    harness.player.addFile(book.folder() + "c.mp3", 4.3);
    harness.textView.addDocument(book.folder() + "doc1.html",
                                 {{"t1", "Eins"}, {"t2", "Zwei"}, {"t3", "Drei"}, {"t4", "Vier"}, {"t5", "Fünf"}});
    harness.textView.addDocument(book.folder() + "doc2.html",
                                 {{"t6", "Sechs"}, {"t7", "Sieben"}, {"t8", "Acht"}, {"t9", "Neun"}});
}

}  // namespace korvin::test
