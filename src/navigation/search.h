// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "book/booktables.h"
#include "navigation/phrasesearch.h"
#include "platform/dialogs.h"
#include "platform/htmlview.h"
#include "platform/listbox.h"
#include "platform/mediaplayer.h"
#include "platform/menubar.h"
#include "platform/messagebox.h"
#include "platform/textdocuments.h"
#include "platform/waitwindow.h"
#include "platform/window.h"
#include "playback/playbackengine.h"
#include "playback/playbackstate.h"
#include "ui/menumodel.h"
#include "ui/stringtable.h"

namespace korvin {

// The three searches (in the headings, in the text now shown, in the whole
// book), the search result list (1003) with its search-hit table, and the
// moves to the next and previous hit. A search fills the table and the list
// with one line per heading or phrase that holds the term and tells the
// listener how many occurrences it found; choosing a line jumps there.
// Runs on the UI thread; the selections it makes run their reactions before
// it goes on.
class Search {
public:
    // The main window's state this part reads and changes.
    struct State {
        PlaybackState& playback;  // the book-open and force-seek flags
        std::string& term;        // the current search term, marked in the text view
        bool& textSearchMode;     // the hits come from a search in the text
        const int& languageOffset;
    };
    struct Parts {
        BookTables& tables;
        MenuModel& menu;
        const StringTable& strings;
        PlaybackEngine& engine;
    };
    struct Services {
        MediaPlayer& player;
        MenuBar& menuBar;
        ListBox& resultList;  // 1003
        MessageBoxes& messageBoxes;
        Dialogs& dialogs;
        WaitWindow& waitWindow;
        Window& window;
        HtmlView& textView;
        TextDocuments& documents;
    };

    // `resolvePath` turns a book path into the one to open; `markTerm` has the
    // text view mark a term found by a search.
    Search(State state, Parts parts, Services services, PhraseSearch::ResolvePath resolvePath,
           std::function<void(const std::string&)> markTerm);

    // Commands 32861, 32862, 32881, 32863 and 32858.
    void searchHeadings();
    void searchText();
    void searchBook();
    void nextHit();
    void previousHit();

    // Reactions: the listener chose a line of the result list; a search-hit
    // row became the selected one.
    void lineChosen();
    void hitSelected();

private:
    std::optional<std::string> askTerm();
    void clearHits();
    void addHit(const std::string& treeId, int phraseRow, const std::string& line);
    void addPhraseHits(const PhraseHits& hits, const std::function<std::string(int row)>& lineOf);
    PhraseHits runWaiting(const std::function<PhraseHits()>& search);
    void announce(long long count);
    void hitsFound();
    void goToHeading(int heading, PlaybackEngine::Jump& jump);
    void chooseLine(int line);

    State m_state;
    Parts m_parts;
    Services m_services;
    PhraseSearch m_phraseSearch;
    std::function<void(const std::string&)> m_markTerm;
    std::string m_newTerm;  // the lower-cased term of the search that runs
};

}  // namespace korvin
