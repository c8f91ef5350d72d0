#include "search/FindPointer.h"

#include "app/Launcher.h"
#include "app/Operations.h"
#include "app/SharedState.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"

namespace corvanta {

PointerFinder::PointerFinder(const QString &dataFolder)
    : files_(pointerFiles(dataFolder)), places_(readPointers(files_))
{
    folded_.reserve(places_.size());
    for (const PointerPlace &place : places_)
        folded_.push_back(place.name().toCaseFolded() + u'\t' + place.target().toCaseFolded());
    setFilter(QString());
}

void PointerFinder::setFilter(const QString &text)
{
    filter_ = text;
    QStringList words;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        // A TAB typed into the box separates words as a space does.
        for (const QString &part : word.split(u'\t', Qt::SkipEmptyParts))
            words.append(part.toCaseFolded());
    }
    results_.clear();
    for (size_t i = 0; i < folded_.size(); ++i) {
        const QString &text = folded_[i];
        bool all = true;
        for (const QString &word : words) {
            if (!text.contains(word)) {
                all = false;
                break;
            }
        }
        if (all)
            results_.push_back(int(i));
    }
    changed(Change::Results);
}

void PointerFinder::openResult(int row)
{
    if (!validRow(row))
        return;
    chosen_ = results_[size_t(row)];
    close();
}

void PointerFinder::launchResult(int row)
{
    if (validRow(row) && onLaunch)
        onLaunch(result(row));
}

void PointerFinder::close()
{
    if (closed_)
        return;
    closed_ = true;
    changed(Change::Close);
}

FindPointer::FindPointer(const FeatureContext &context, FindPointerDisplay &display)
    : c(context), display_(display)
{
    for (const char *name : {"OpenFindPointer", "mnuFindPointer", "entry:Find Pointer"})
        c.operations.add(QString::fromLatin1(name), [this] { OpenFindPointer(); });
}

void FindPointer::OpenFindPointer()
{
    if (open_)
        return; // modal: one at a time
    open_ = true;
    c.ui.setBusy(true);
    PointerFinder finder(c.state.ProgramFolder);
    c.ui.setBusy(false);
    finder.onLaunch = [this](const PointerPlace &place) { launch(place); };
    display_.showFindPointer(finder);
    open_ = false;
    const PointerPlace *place = finder.chosen();
    if (!place)
        return;
    if (!openPlace(c.operations, c.state, *place))
        c.ui.beep(); // its topic is no longer in the lists
}

void FindPointer::launch(const PointerPlace &place)
{
    const QString target = place.target();
    SharedState &s = c.state;
    s.LaunchStatus.clear();
    Launcher(c.ui, c.platform.shell, s).LaunchTarget(target, QStringLiteral("open"));
    // Launching here offers no removal: the place is not on screen, so say what happened.
    if (s.LaunchStatus == u"file not found") {
        c.ui.msgBox(QStringLiteral("The File  [") + target + QStringLiteral("]  Was Not Found.")
                + fiveSpaces() + u'\r',
            u' ' + target + QStringLiteral("  Not Found"), MsgBox::OkOnly | MsgBox::Exclamation);
    }
}

} // namespace corvanta
