#include "app/ReopenLast.h"

#include "app/CommandSurface.h"
#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/Operations.h"
#include "app/SharedState.h"
#include "platform/Ui.h"
#include "store/ListControl.h"
#include "store/NameRules.h"

namespace corvanta {

namespace {

const QString Section = QStringLiteral("Startup");
const QString Item = QStringLiteral("mnuReopenLast");
// The " ..." row is stored as "...", which no topic can be named: the settings file keeps no
// leading space.
const QString OwnList = QStringLiteral("...");

} // namespace

ReopenLast::ReopenLast(const FeatureContext &context) : c(context)
{
    c.operations.add(Item, [this] { toggle(); });
}

QString ReopenLast::read(const QString &key) const
{
    return ReadIniString(c.store, c.state.IniFile, Section, key, QString());
}

bool ReopenLast::on() const
{
    return read(QStringLiteral("Reopen Last")) == u"True";
}

void ReopenLast::toggle()
{
    const bool now = !on();
    // A settings file that cannot be written says so once; the mark keeps telling the truth.
    if (!writeSetting(c.store, c.state, c.ui, Section, QStringLiteral("Reopen Last"),
            now ? QStringLiteral("True") : QStringLiteral("False")))
        return;
    c.commands.setChecked(Item, now);
}

void ReopenLast::ReopenLastPlace()
{
    const bool reopen = on();
    c.commands.setChecked(Item, reopen);
    if (!reopen)
        return;
    Place place;
    place.project = read(QStringLiteral("Last Project"));
    const QString topic = read(QStringLiteral("Last Topic"));
    if (place.project.isEmpty() && topic.isEmpty())
        return; // the entry screen as it starts anyway
    place.topic = topic == OwnList ? QString() : topic;
    place.pointer = read(QStringLiteral("Last Pointer"));
    // A project or topic deleted since leaves the start as it is.
    (void)c.navigation.openPlace(place);
}

void ReopenLast::StoreLastPlace()
{
    if (!on())
        return;
    const SharedState &s = c.state;
    const ListControl &files = c.lstFileList;
    const int row = files.ListIndex();
    const QString pointer =
        row >= 0 && row < files.ListCount() ? files.columnText(row, 0) : QString();
    const QString topic = s.CurrentTopic.isEmpty() ? QString()
        : isProjectRow(s.CurrentTopic)           ? OwnList
                                                   : s.CurrentTopic;
    writeSetting(c.store, c.state, c.ui, Section, QStringLiteral("Last Project"), s.CurrentProject);
    writeSetting(c.store, c.state, c.ui, Section, QStringLiteral("Last Topic"), topic);
    writeSetting(c.store, c.state, c.ui, Section, QStringLiteral("Last Pointer"), pointer);
}

} // namespace corvanta
