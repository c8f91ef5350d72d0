#pragma once

#include "app/FeatureContext.h"
#include "search/PointerPlaces.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace corvanta {

// The Find Pointer window's logic: every pointer of the data folder, read when the window opens,
// filtered as the user types. A pointer matches when every word of the filter appears, in any
// order and letter case, in its name or its target.
class PointerFinder
{
public:
    enum class Change { Results, Close };

    PointerFinder(Store &store, const QString &dataFolder);

    static QString caption() { return QStringLiteral(" Find Pointer"); }
    QString filter() const { return filter_; }
    // Filters again at once, so the results always belong to the text shown.
    void setFilter(const QString &text);

    int pointerCount() const { return int(places_.size()); }
    int resultCount() const { return int(results_.size()); }
    const PointerPlace &result(int row) const { return places_[size_t(results_[size_t(row)])]; }

    // Enter or a double-click: the window closes and the main window opens the pointer's topic.
    void openResult(int row);
    // Ctrl+Enter: the pointer's target is opened; the window stays.
    void launchResult(int row);
    void close();

    bool closed() const { return closed_; }
    // The place chosen with openResult, or nullptr.
    const PointerPlace *chosen() const { return chosen_ < 0 ? nullptr : &places_[size_t(chosen_)]; }

    std::function<void(Change)> onChanged;
    std::function<void(const PointerPlace &)> onLaunch;

private:
    TextBlocks blocks_;
    std::vector<PointerFile> files_;
    std::vector<PointerPlace> places_;
    // Each decoded file's text case-folded, at the offsets the places point to; an ASCII file is
    // matched as it is, so it has none.
    std::vector<QString> folded_;
    std::vector<int> results_;
    QString filter_;
    int chosen_ = -1;
    bool closed_ = false;

    bool validRow(int row) const { return row >= 0 && row < resultCount(); }
    void changed(Change c) { if (onChanged) onChanged(c); }
};

// The desktop's side of the Find Pointer window: shows it modally until it closes.
class FindPointerDisplay
{
public:
    virtual void showFindPointer(PointerFinder &finder) = 0;

protected:
    ~FindPointerDisplay() = default;
};

// Opens the Find Pointer window from the Edit menu, Ctrl+Shift+F and the toolbar, then opens
// the chosen pointer's topic in the main window.
class FindPointer
{
public:
    FindPointer(const FeatureContext &context, FindPointerDisplay &display);

    void OpenFindPointer();

private:
    FeatureContext c;
    FindPointerDisplay &display_;
    bool open_ = false;

    void launch(const PointerPlace &place);
};

} // namespace corvanta
