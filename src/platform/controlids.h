// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Identifiers of the main window's controls. The routing tables dispatch
// notifications and events by these numbers, so they stay as they are.
namespace korvin::control {

inline constexpr int kHeadingTree = 1000;
inline constexpr int kPlayer = 1001;
inline constexpr int kSearchResultList = 1003;
inline constexpr int kTextView = 1004;
inline constexpr int kHeadingTable = 1007;
inline constexpr int kPhraseTable = 1008;
inline constexpr int kPageTable = 1012;
inline constexpr int kBookmarkTable = 1025;
inline constexpr int kBookmarkList = 1026;
inline constexpr int kSearchHitTable = 1029;
inline constexpr int kGroupList = 1041;
inline constexpr int kGroupTable = 1042;

}  // namespace korvin::control

// Notification codes carried with a control id.
namespace korvin::notify {

inline constexpr int kSelectionChanged = 1;  // tree selection, list-box selection
inline constexpr int kRowStateChanged = 2;   // a book table's row state changed
inline constexpr int kSetFocus = 3;          // the control received the keyboard focus

}  // namespace korvin::notify

// Event ids of the embedded components.
namespace korvin::event {

inline constexpr int kPlayerError = 5501;
inline constexpr int kBeforeNavigate = 250;
inline constexpr int kDocumentComplete = 259;

}  // namespace korvin::event
