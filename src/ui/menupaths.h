#pragma once

#include "ui/menumodel.h"

// Positions in the menu bar of the popups and items that are changed by
// position rather than by command: a popup has no command, and some items are
// enabled together with their popup. They follow the menu table
// (resources/menu.tsv); separators count.
namespace korvin::menupath {

using Path = MenuModel::Path;

// The popups of the menu bar.
inline const Path kDaisy{0};
inline const Path kNavigation{1};
inline const Path kAudio{2};
inline const Path kText{3};
inline const Path kBookmarks{4};
inline const Path kSearch{5};
inline const Path kHelp{6};

// DAISY.
inline const Path kChangeVolume{0, 3};
inline const Path kBookInformation{0, 5};
inline const Path kBookPlayTime{0, 5, 0};
inline const Path kTitleInformation{0, 6};
inline const Path kTitlePlayTime{0, 6, 0};
inline const Path kLanguage{0, 8};

// Navigation.
inline const Path kPhrase{1, 0};
inline const Path kGroup{1, 1};
inline const Path kGroupNext{1, 1, 0};
inline const Path kPage{1, 2};
inline const Path kPageNext{1, 2, 0};
inline const Path kPageGoto{1, 2, 3};
inline const Path kSkip{1, 3};
inline const Path kSkipFootnotes{1, 3, 0};
inline const Path kSkipSidebars{1, 3, 1};
inline const Path kSkipProdnotes{1, 3, 2};
inline const Path kSkipPageNumbers{1, 3, 3};
inline const Path kSwitchToNavigation{1, 5};

// Audio.
inline const Path kVolume{2, 0};
inline const Path kSpeed{2, 1};
inline const Path kWind{2, 2};
inline const Path kPauseContinue{2, 4};
inline const Path kAutoPlayback{2, 5};

// Text.
inline const Path kHighlight{3, 0};
inline const Path kSwitchToText{3, 2};

// Bookmarks.
inline const Path kBookmarkSet{4, 0};
inline const Path kBookmarkDelete{4, 1};
inline const Path kBookmarkNext{4, 3};
inline const Path kBookmarkPrevious{4, 4};

// Search.
inline const Path kSearchHeadings{5, 0};
inline const Path kSearchText{5, 1};
inline const Path kSearchBook{5, 2};
inline const Path kSearchNext{5, 4};
inline const Path kSearchPrevious{5, 5};

}  // namespace korvin::menupath
