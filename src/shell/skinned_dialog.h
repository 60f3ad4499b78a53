// The base of the settings dialogs (Erase Items, Options, Keeper): a
// borderless window cut from its picture and dragged by it, with the title
// label, the small Help and Close buttons at the top right and the Help /
// OK / Cancel (or Help / Close) buttons at the bottom; page sets with their
// page-shown handling; context help for the page on view; message boxes
// through the desktop; and the keyboard a Windows dialog has:
//   Tab / Shift+Tab        the controls of the page on view, in order
//   arrow keys             within a radio group (and along a tab strip)
//   Enter                  the focused push button, else the default one
//                          (OK, or Close), unless the field runs a command
//   Escape                 Cancel (or Close)
//   Delete                 in a list, the button that removes its entry
//   Ctrl+Tab / +Shift      the next / previous page of the main page set
//   F1                     help for the page on view
// A dialog lays out its controls in build() and handles them in command()
// and notify(); the base runs it modally and reports how it ended.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_controller.h"
#include "shell/desktop.h"
#include "shell/tab_pages.h"
#include "shell/window.h"

namespace cindral::platform {
class Files;
}

namespace cindral::shell {

enum class DialogButtons { HelpOkCancel, HelpClose };

// What tells the three dialogs apart in their frame.
struct DialogFrame {
    SkinWindow picture;
    const char* className;  // "TForm1", "TForm2", "TForm3"
    const char* title;      // the caption, also drawn as the title label
    app::Dialog dialog;     // for the help topics
    DialogButtons buttons;
};

// What a dialog reaches beyond itself.
struct DialogContext {
    Desktop& desktop;
    platform::Files& files;  // to find the help file
    std::string home;        // the home folder, with its trailing "\"
};

class SkinnedDialog : public SkinnedWindow {
public:
    // Identifiers of the frame's controls; a dialog numbers its own from
    // kFirstControlId on.
    static constexpr int kOkId = IDOK;
    static constexpr int kCancelId = IDCANCEL;  // "Cancel" or "Close"
    static constexpr int kHelpId = 10;
    static constexpr int kTopHelpId = 11;
    static constexpr int kTopCloseId = 12;
    static constexpr int kTitleId = 13;
    static constexpr int kFirstControlId = 100;

    // The area between the title band and the button bar, in design units.
    RECT contentArea() const;

    SkinnedDialog(const DialogFrame& frame, DialogContext context);
    ~SkinnedDialog() override;

    // Creates the dialog hidden at (x, y) over `owner`, lays out its
    // controls (build) and brings the first page of every page set into
    // view, in the order the sets were made.
    bool create(HWND owner, int x, int y);
    // Shows the dialog and returns when it has ended: IDOK or IDCANCEL.
    int runModal(HWND owner);
    // Creates the dialog where `place` puts a window of its pixel size, runs
    // it modally and returns how it ended (IDCANCEL when it could not be made).
    int run(HWND owner, const std::function<app::Point(int width, int height)>& place);

    TabbedPages* pageSet(int id);
    // The topic of the page on view (of the inner page on view, where the
    // page holds a page set; a dialog without pages is on page 0); empty
    // when the page has none.
    std::string helpTopic() const;
    // Context help for the page on view; nothing for a page without a topic.
    void help();

    // Message boxes owned by the dialog, through the desktop.
    int message(const std::string& text, UINT flags);
    // A Yes/No question with the question icon: true unless the answer is No.
    bool confirm(const std::string& question);

    // Enter in `control` presses `button` (when it is enabled) instead of
    // the default button, e.g. a field whose text Enter adds to a list.
    void runOnEnter(HWND control, HWND button);
    // Delete in `control` presses `button` when it is enabled, e.g. a list
    // whose selected entry the button removes.
    void runOnDelete(HWND control, HWND button);

    // Carries out the dialog's keys; true when the message was one of them.
    bool translateKey(const MSG& msg);

protected:
    // Lays out the dialog's controls; false when one could not be made.
    virtual bool build() = 0;
    // Page n of the page set `pageSetId` has come into view.
    virtual void pageShown(int pageSetId, int page) {
        (void)pageSetId;
        (void)page;
    }
    // OK pressed: store, and return true to close (false keeps it open).
    virtual bool accept() { return true; }
    // Cancel, Close, the close button, Escape or WM_CLOSE: true to close
    // (false keeps it open, e.g. when the user cancels a question).
    virtual bool mayCancel() { return true; }
    virtual void command(int id, int code, HWND control) {
        (void)id;
        (void)code;
        (void)control;
    }
    virtual LRESULT notify(const NMHDR& header) {
        (void)header;
        return 0;
    }

    // A page set across the design rectangle of `site` (the dialog or one
    // of its pages); the first one made on the dialog itself is the main
    // set, whose pages Ctrl+Tab steps through.
    TabbedPages* addPageSet(SkinnedWindow& site, int id, const std::vector<std::string>& captions,
                            int x, int y, int w, int h);
    // Ends the modal run with IDOK or IDCANCEL.
    void end(int result);

    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

    DialogContext context_;

private:
    void addFrameControls();
    TabbedPages* mainPageSet() const;
    std::vector<HWND> tabStops() const;
    void moveFocus(int delta);
    bool enterKey(const MSG& msg);
    bool arrowKey(int delta);
    void click(HWND button);

    DialogFrame frame_;
    int result_ = IDCANCEL;
    std::vector<std::unique_ptr<TabbedPages>> pageSets_;
    std::map<HWND, HWND> enterButtons_;
    std::map<HWND, HWND> deleteButtons_;
};

}  // namespace cindral::shell
