#pragma once

// Command ids of the menu items and accelerators; kept as numbers so that the
// routing tables read the same as the menu resource.
namespace korvin::cmd {

inline constexpr int kOpen = 32774;
inline constexpr int kOpenFromList = 33012;
inline constexpr int kLastBook = 32780;
inline constexpr int kChangeVolume = 33009;
inline constexpr int kBookTotalTime = 32828;
inline constexpr int kBookElapsedTime = 32829;
inline constexpr int kBookRemainingTime = 32830;
inline constexpr int kEntries = 32827;
inline constexpr int kLevels = 32815;
inline constexpr int kTitleTotalTime = 32850;
inline constexpr int kTitleElapsedTime = 32832;
inline constexpr int kTitleRemainingTime = 32849;
inline constexpr int kHeadingIndex = 32824;
inline constexpr int kHeadingLevel = 32825;
inline constexpr int kGerman = 32953;
inline constexpr int kEnglish = 32954;
inline constexpr int kLanguageRangeLast = 33017;
inline constexpr int kExit = 32772;

inline constexpr int kPhraseForward = 32778;
inline constexpr int kPhraseBack = 32779;
inline constexpr int kGroupNext = 32991;
inline constexpr int kGroupPrevious = 32979;
inline constexpr int kPageNext = 32984;
inline constexpr int kPagePrevious = 32982;
inline constexpr int kPageGoto = 32983;
inline constexpr int kSkipFootnotes = 32785;
inline constexpr int kSkipSidebars = 32786;
inline constexpr int kSkipProdnotes = 32787;
inline constexpr int kSkipPageNumbers = 33011;
inline constexpr int kSwitchToNavigation = 32965;

inline constexpr int kVolumeUp = 32793;
inline constexpr int kVolumeNormal = 32800;
inline constexpr int kVolumeDown = 32795;
inline constexpr int kSpeedFaster = 32797;
inline constexpr int kSpeedNormal = 32801;
inline constexpr int kSpeedSlower = 32799;
inline constexpr int kWindForward = 32805;
inline constexpr int kWindBackward = 32807;
inline constexpr int kPauseContinue = 32808;
inline constexpr int kAutoPlayback = 32840;

inline constexpr int kStyleBackground = 32844;
inline constexpr int kStyleItalic = 32847;
inline constexpr int kStyleBold = 32846;
inline constexpr int kStyleTextColour = 32848;
inline constexpr int kSwitchToText = 32966;

inline constexpr int kBookmarkSet = 32851;
inline constexpr int kBookmarkDelete = 32859;
inline constexpr int kBookmarkNext = 32860;
inline constexpr int kBookmarkPrevious = 32854;

inline constexpr int kSearchHeadings = 32861;
inline constexpr int kSearchText = 32862;
inline constexpr int kSearchBook = 32881;
inline constexpr int kSearchNext = 32863;
inline constexpr int kSearchPrevious = 32858;

inline constexpr int kHelp = 32867;
inline constexpr int kAbout = 32866;
// The about entry of the system menu.
inline constexpr int kSystemAbout = 16;

}  // namespace korvin::cmd
