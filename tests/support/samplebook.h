// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/controllerharness.h"
#include "support/testbook.h"

namespace korvin::test {

// A book of three headings ("Eins" h1, "Zwei" h2 under it, "Drei" h1) over two
// text documents, with two pages, a footnote and a phrase without sound:
//
//   row heading par  document#fragment  audio    clip
//   0   0       p1   doc1.html#t1       a.mp3    0.000–2.000   (page 1)
//   1   0       p2   doc1.html#t2       a.mp3    2.000–4.000
//   2   0       p3   doc1.html#t3       a.mp3    4.000–6.000   (a.mp3 lasts 6.5 s)
//   3   1       p4   doc1.html#t4       b.mp3    0.000–1.500
//   4   1       p5   doc1.html#t5       b.mp3    1.500–3.000   footnote (page 2)
//   5   1       p6   doc2.html#t6       b.mp3    3.000–5.000   (b.mp3 lasts 5.2 s)
//   6   2       p7   doc2.html#t7       —                      no sound
//   7   2       p8   doc2.html#t8       c.mp3    0.000–2.000
//   8   2       p9   doc2.html#t9       c.mp3    2.000–4.000   (c.mp3 lasts 4.3 s)
//
// The audio files exist for the simulated player, the documents for the fake view.
void writeSampleBook(TestBook& book, ControllerHarness& harness);

}  // namespace korvin::test
