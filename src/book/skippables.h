// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "book/booktables.h"

namespace korvin {

// The kinds of structure a DAISY 3 book marks as skippable, and the skip
// classes of the phrase table they are skipped under, so that the four skip
// toggles cover them: page and line numbers are numbers read out
// ("pagenumber"); notes, note references and annotations are asides to the
// text ("footnote"); sidebars ("sidebar") and producer notes ("prodnote")
// are what they say.
enum class Skippable { kNone, kPageNumber, kLineNumber, kNote, kNoteReference, kAnnotation, kSidebar, kProducerNote };

// The kind a name of the book names: a bookStruct of the navigation file
// ("PAGE_NUMBER", "OPTIONAL_SIDEBAR"), a SMIL class or custom test id
// ("pagenum", "noteref", "optional-prodnote"). Letter case, "-" and "_" do not
// count; kNone for any other name.
Skippable skippableOfName(std::string_view name);

// The kind a class attribute names: its first word that names one.
Skippable skippableOfClass(std::string_view classes);

// The skip class of the phrase table; empty for kNone.
std::string_view skipClassOf(Skippable kind);

// Sets the feature flag that enables the skip toggle of `kind`.
void markSkippableFeature(Skippable kind, FeatureFlags& features);

}  // namespace korvin
