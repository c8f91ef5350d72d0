#include "app/Settings.h"

#include "app/IniFile.h"
#include "app/MainForm.h"
#include "platform/MsgBox.h"
#include "platform/Ui.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace corvanta {

namespace {

// Thrown when a stored value cannot be converted; ends LoadSettings at that key.
struct BadValue {};

QString read(const MainForm &form, const QString &section, const QString &key)
{
    return ReadIniString(form.store, form.state.IniFile, section, key, QString());
}

float number(const QString &text)
{
    float value = 0;
    if (!parseSingle(text, &value))
        throw BadValue{};
    return value;
}

// "True", "False" or a number, as a flag; anything else cannot be converted.
bool flag(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    return number(t) != 0;
}

void loadGridLines(MainForm &form, const QString &section, ListControl &list,
                   const QString &item1, const QString &item2)
{
    const QString value = read(form, section, QStringLiteral("DisplayLines"));
    const bool lines = value.isEmpty() || value == u"True";
    list.setGridLines(lines ? GridLines::Shown : GridLines::Hidden);
    form.commands.setChecked(item1, lines);
    form.commands.setChecked(item2, lines);
}

void loadFont(MainForm &form, const QString &section, ListControl &list)
{
    const QString defaultFace = defaultListFont().name;
    auto store = [&](const QString &key, const QString &value) {
        writeSetting(form.store, form.state, form.ui, section, key, value);
    };

    const QString name = read(form, section, QStringLiteral("Font Name"));
    if (name.isEmpty())
        store(QStringLiteral("Font Name"), defaultFace);
    else if (name != defaultFace)
        list.setFontName(name);

    const QString size = read(form, section, QStringLiteral("Font Size"));
    if (size.isEmpty()) {
        store(QStringLiteral("Font Size"), QStringLiteral("10"));
    } else {
        const float points = number(size);
        if (!(points > 0 && points < 2048))
            throw BadValue{}; // a size the list refuses
        if (points != 10)
            list.setFontSize(points);
    }

    const QString bold = read(form, section, QStringLiteral("Font Bold"));
    if (bold.isEmpty())
        store(QStringLiteral("Font Bold"), QStringLiteral("False"));
    else if (flag(bold))
        list.setFontBold(true);

    const QString italic = read(form, section, QStringLiteral("Font Italic"));
    if (italic.isEmpty())
        store(QStringLiteral("Font Italic"), QStringLiteral("False"));
    else if (flag(italic))
        list.setFontItalic(true);
}

constexpr float DefaultHeight = 6000;
constexpr float DefaultWidth = 9708;

float defaultTop(const MainForm &form, float height)
{
    return form.screenHeight / 2 - height / 2 - 600;
}

float defaultLeft(const MainForm &form, float width)
{
    return form.screenWidth / 2 - width / 2;
}

// A number too large for a single (1e40) is still a number: it lies beyond every screen.
float geometryNumber(const QString &text)
{
    float value = 0;
    if (parseSingle(text, &value))
        return value;
    bool ok = false;
    double wide = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        wide = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || std::isnan(wide))
        throw BadValue{};
    return wide > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
}

void loadSettingsSteps(MainForm &form)
{
    SharedState &s = form.state;
    const QString screen = QStringLiteral("Screen");
    WindowGeometry g = form.geometry();

    // Geometry: each value is applied as soon as it is read, so a later failure keeps it.
    const QString height = read(form, screen, QStringLiteral("Height"));
    if (height.isEmpty())
        g.height = DefaultHeight;
    else
        g.height = std::min(geometryNumber(height), form.screenHeight - 400);
    form.setGeometry(g);

    const QString width = read(form, screen, QStringLiteral("Width"));
    if (width.isEmpty())
        g.width = DefaultWidth;
    else
        g.width = std::min(geometryNumber(width), form.screenWidth);
    form.setGeometry(g);

    const QString top = read(form, screen, QStringLiteral("Top"));
    if (top.isEmpty())
        g.top = defaultTop(form, g.height);
    else
        g.top = std::max(geometryNumber(top), 0.0f);
    form.setGeometry(g);

    const QString left = read(form, screen, QStringLiteral("Left"));
    if (left.isEmpty())
        g.left = defaultLeft(form, g.width);
    else
        g.left = std::max(geometryNumber(left), 0.0f);
    // On a screen before anything else shows, the name box included.
    form.setGeometry(placedOnScreen(form, g));

    const QString name = read(form, QStringLiteral("User"), QStringLiteral("Name"));
    if (name.isEmpty())
        PromptUserName(form);
    else
        s.UserName = name == u"blank" ? QString() : name;

    const QString open = read(form, QStringLiteral("Option"), QStringLiteral("Open"));
    // The option buttons' own handlers, so the Settings menu's marks follow too.
    const bool opens = open.isEmpty() || open == u"True";
    if (!form.run(opens ? QStringLiteral("optOpen_Click") : QStringLiteral("optPrint_Click")))
        form.setOptOpen(opens);

    loadGridLines(form, QStringLiteral("Project List"), form.lstProjectList,
                  QStringLiteral("mnuDisplayLinesInProjectList"),
                  QStringLiteral("mnuDisplayLinesInProjectList2"));
    loadGridLines(form, QStringLiteral("Topic List"), form.lstTopicList,
                  QStringLiteral("mnuTopicPopupDislplayLinesInTopicList"),
                  QStringLiteral("mnuTopicPopupDislplayLinesInTopicList2"));
    loadGridLines(form, QStringLiteral("File List"), form.lstFileList,
                  QStringLiteral("mnuDisplayLinesInFileList"),
                  QStringLiteral("mnuDisplayLinesInFileList2"));

    loadFont(form, QStringLiteral("Project List"), form.lstProjectList);
    loadFont(form, QStringLiteral("Topic List"), form.lstTopicList);
    loadFont(form, QStringLiteral("File List"), form.lstFileList);

    auto sortState = [&](const QString &section) {
        return sortOrderFromSetting(read(form, section, QStringLiteral("Sort")));
    };
    s.ProjectSort = sortState(QStringLiteral("Project List"));
    s.TopicSort = sortState(QStringLiteral("Topic List"));
    s.FileSort = sortState(QStringLiteral("File List"));

    const QString display = read(form, QStringLiteral("Startup Window"), QStringLiteral("Display Window"));
    s.DisplayStartupWindow = display.isEmpty() || display == u"True";
}

} // namespace

WindowGeometry placedOnScreen(const MainForm &form, WindowGeometry g)
{
    // A size no window can have counts as lying outside the screen, like a position.
    if (!(g.width > 0))
        g.width = DefaultWidth;
    if (!(g.height > 0))
        g.height = DefaultHeight;
    return placeOnScreens(g, form.screenAreas(), defaultLeft(form, g.width), defaultTop(form, g.height));
}

SortOrder sortOrderFromSetting(const QString &value)
{
    if (value.isEmpty() || value == u"none")
        return SortOrder::None;
    if (value == u"ascend")
        return SortOrder::Ascending;
    if (value == u"descend")
        return SortOrder::Descending;
    return SortOrder::Unknown;
}

QString sortOrderSetting(SortOrder order)
{
    switch (order) {
    case SortOrder::Ascending:
        return QStringLiteral("ascend");
    case SortOrder::Descending:
        return QStringLiteral("descend");
    case SortOrder::None:
    case SortOrder::Unknown:
        break;
    }
    return QStringLiteral("none");
}

FontSpec defaultListFont()
{
    return FontSpec{QStringLiteral("MS Sans Serif"), 10, false, false};
}

QString userNamePrompt()
{
    return QStringLiteral("Input Your Name. \r(30 Characters Maximum)\rPress Spacebar And Click OK To Leave Blank.");
}

void LoadSettings(MainForm &form)
{
    try {
        loadSettingsSteps(form);
    } catch (const BadValue &) {
        // The rest keeps its initial values; start-up goes on.
    }
}

void PromptUserName(MainForm &form)
{
    SharedState &s = form.state;
    const WindowGeometry g = form.geometry();
    const QString typed = form.ui.inputBox(userNamePrompt(), QStringLiteral(" Input Name"), s.UserName,
                                           int(std::lround(g.left + g.width / 4)),
                                           int(std::lround(g.top + g.height / 4)));
    QString name;
    if (typed == u" ")
        name = QStringLiteral("blank");
    else if (!typed.isEmpty())
        name = typed;
    else
        name = s.UserName;
    writeSetting(form.store, s, form.ui, QStringLiteral("User"), QStringLiteral("Name"), name);
    s.UserName = name == u"blank" ? QString() : name;
}

bool writeSetting(Store &store, SharedState &state, Ui &ui, const QString &section, const QString &key,
                  const QString &value)
{
    const SaveResult saved = WriteIniString(store, state.IniFile, section, key, value);
    if (!saved.ok && !state.SettingsFailureShown) {
        state.SettingsFailureShown = true;
        ui.msgBox(settingsNotSavedText(state.IniFile, saved.reason), settingsNotSavedTitle(),
                  MsgBox::OkOnly | MsgBox::Exclamation);
    }
    return saved.ok;
}

QString settingsNotSavedTitle()
{
    return QStringLiteral(" Settings Not Saved");
}

QString settingsNotSavedText(const QString &path, const QString &reason)
{
    return QStringLiteral("The Settings File  [") + userText(path)
        + QStringLiteral("]  Could Not Be Saved.     \r") + reason
        + QStringLiteral("\rChanged Settings Are Not Kept For The Next Start.     \r");
}

} // namespace corvanta
