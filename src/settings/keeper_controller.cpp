#include "settings/keeper_controller.h"

#include <algorithm>
#include <utility>

namespace cindral::settings {

const std::array<KeeperPageInfo, kKeeperPageCount> kKeeperPages = {{
    {"IE Cookie Keeper", "Select Cookies you want to Keep",
     "Cookies to be cleaned:", "Cookies to be kept:"},
    {"IE Address Drop-Down List Keeper", "Select Addresses you want to Keep",
     "Addresses to be cleaned:", "Addresses to be kept:"},
    {"Windows Open/Save History Keeper", "Select Items you want to keep",
     "Items to be cleaned:", "Items to be kept:"},
}};

namespace {

int indexOf(KeeperPage page) { return static_cast<int>(page); }

KeeperSide otherSide(KeeperSide side) {
    return side == KeeperSide::Left ? KeeperSide::Right : KeeperSide::Left;
}

// Holds a flag for the life of a scope.
class Raised {
public:
    explicit Raised(bool& flag) : flag_(flag) { flag_ = true; }
    ~Raised() { flag_ = false; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    bool& flag_;
};

}  // namespace

KeeperController::KeeperController(KeeperView& view, platform::Platform& platform,
                                   KeeperFiles files)
    : view_(view), platform_(platform), files_(std::move(files)) {}

std::string KeeperController::unreadableNotice(const std::string& path) {
    return "This list cannot be read and is left unchanged: " + path;
}

std::string KeeperController::unsavedNotice(const std::string& path) {
    return "This list could not be saved; the move was undone: " + path;
}

const char* const KeeperController::kUnkeepableNotice =
    "An entry holding a line break cannot be kept and stays to be cleaned.";

KeeperController::PageState& KeeperController::state(KeeperPage page) {
    return pages_[static_cast<std::size_t>(indexOf(page))];
}

const KeeperList& KeeperController::kept(KeeperPage page) const {
    return pages_[static_cast<std::size_t>(indexOf(page))].kept;
}

bool KeeperController::canMove(KeeperPage page) const {
    return pages_[static_cast<std::size_t>(indexOf(page))].readable;
}

std::vector<std::string> KeeperController::gather(KeeperPage page) {
    const KeeperList& keep = state(page).kept;
    switch (page) {
        case KeeperPage::Cookies:
            return GatherCookieCandidates(platform_, keep);
        case KeeperPage::Addresses:
            return GatherAddressCandidates(platform_, keep);
        case KeeperPage::OpenSave:
            return GatherOpenSaveCandidates(platform_, keep);
    }
    return {};
}

std::string KeeperController::rowText(KeeperPage page, const std::string& entry) const {
    return page == KeeperPage::Cookies ? CookieDisplayName(entry) : entry;
}

std::vector<std::string> KeeperController::rowTexts(KeeperPage page,
                                                    const std::vector<std::string>& entries) {
    std::vector<std::string> rows;
    rows.reserve(entries.size());
    for (const std::string& entry : entries) rows.push_back(rowText(page, entry));
    return rows;
}

void KeeperController::open() {
    for (int i = 0; i < kKeeperPageCount; ++i) {
        const auto page = static_cast<KeeperPage>(i);
        PageState& s = state(page);
        s = PageState{};
        const std::string& path = files_[static_cast<std::size_t>(i)];
        s.readable =
            LoadKeptList(*platform_.files, path, s.kept) != selection::ReadStatus::Unreadable;
        s.candidates = gather(page);
        {
            Raised busy(updating_);
            view_.setRows(page, KeeperSide::Left, rowTexts(page, s.candidates));
            view_.setRows(page, KeeperSide::Right, rowTexts(page, s.kept));
        }
        view_.setNotice(page, s.readable ? "" : unreadableNotice(path));
        applyButtons(page, KeeperSide::Left);
    }
}

void KeeperController::add(KeeperPage page) { move(page, KeeperSide::Left); }

void KeeperController::remove(KeeperPage page) { move(page, KeeperSide::Right); }

void KeeperController::move(KeeperPage page, KeeperSide from) {
    PageState& s = state(page);
    if (!s.readable) return;
    std::vector<std::string>& source = from == KeeperSide::Left ? s.candidates : s.kept;
    std::vector<std::string>& target = from == KeeperSide::Left ? s.kept : s.candidates;
    const KeeperSide to = otherSide(from);

    // Each selected row once, top to bottom, and only rows with an entry.
    std::vector<int> rows = view_.selectedRows(page, from);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [&](int r) { return r < 0 || r >= static_cast<int>(source.size()); }),
               rows.end());
    // A kept list holds one entry a line: an entry holding a CR would read
    // back as two entries, neither of them the one chosen, and the next run
    // would erase it after all. Such an entry stays a candidate.
    bool refused = false;
    if (from == KeeperSide::Left) {
        std::vector<int> storable;
        for (int r : rows) {
            if (source[static_cast<std::size_t>(r)].find('\r') == std::string::npos)
                storable.push_back(r);
            else
                refused = true;
        }
        rows.swap(storable);
    }
    if (rows.empty()) {
        if (refused) view_.setNotice(page, kUnkeepableNotice);
        applyButtons(page, from);
        return;
    }

    const std::vector<std::string> formerSource = source;
    const std::vector<std::string> formerTarget = target;
    {
        Raised busy(updating_);
        for (int r : rows) {
            const std::string& entry = source[static_cast<std::size_t>(r)];
            target.push_back(entry);
            view_.appendRow(page, to, rowText(page, entry));
        }
        // From the bottom up, so the rows still to go keep their numbers.
        for (auto r = rows.rbegin(); r != rows.rend(); ++r) {
            view_.deleteRow(page, from, *r);
            source.erase(source.begin() + *r);
        }
    }

    const std::string& path = files_[static_cast<std::size_t>(indexOf(page))];
    if (SaveKeptList(*platform_.files, path, s.kept)) {
        view_.setNotice(page, refused ? kUnkeepableNotice : "");
    } else {
        // A move that is shown but not on file would be erased by the next
        // run all the same: the lists go back to what the file holds.
        source = formerSource;
        target = formerTarget;
        {
            Raised busy(updating_);
            view_.setRows(page, KeeperSide::Left, rowTexts(page, s.candidates));
            view_.setRows(page, KeeperSide::Right, rowTexts(page, s.kept));
        }
        view_.setNotice(page, unsavedNotice(path));
    }
    applyButtons(page, from);
}

void KeeperController::refresh(KeeperPage page) {
    PageState& s = state(page);
    s.candidates = gather(page);
    {
        Raised busy(updating_);
        view_.setRows(page, KeeperSide::Left, rowTexts(page, s.candidates));
    }
    applyButtons(page, s.lastSide);
}

void KeeperController::selectionChanged(KeeperPage page, KeeperSide side) {
    if (updating_) return;
    applyButtons(page, side);
}

void KeeperController::pageEntered(KeeperPage page) { applyButtons(page, KeeperSide::Left); }

// The list last touched decides: with a selection it enables its own move
// button and disables the other one, even while the other list keeps a
// selection of its own; without one, both are disabled.
void KeeperController::applyButtons(KeeperPage page, KeeperSide side) {
    PageState& s = state(page);
    s.lastSide = side;
    const bool any = s.readable && view_.selectedCount(page, side) > 0;
    view_.enableMoves(page, any && side == KeeperSide::Left, any && side == KeeperSide::Right);
}

}  // namespace cindral::settings
