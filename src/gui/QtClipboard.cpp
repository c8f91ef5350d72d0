#include "gui/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace corvanta {

void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

QString QtClipboard::text() const { return QGuiApplication::clipboard()->text(); }

void QtClipboard::setText(const QString &text) { QGuiApplication::clipboard()->setText(text); }

} // namespace corvanta
