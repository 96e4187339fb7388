#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <functional>

class QDateEdit;
class QLabel;
class QWidget;

namespace kestavion {

class Grid;
class Prompter;

// Small pieces the settlement, profit and expense screens share.
namespace settlementkit {

// Runs a service call. A refusal is shown with its own message, icon and title; an
// engine failure shows the engine's text. False in both cases.
bool run(Prompter &prompter, const std::function<void()> &work);

// The whole-list total row at row 1, bold red, `caption` in column 0, holding `cells`
// (column key, text) — the service's exact sums. Nothing when the list has no rows.
void showTotalRow(Grid *grid, const QString &caption, const QList<QPair<QString, QString>> &cells);

// A fixed caption label named `name` (lbInfo_0 …).
QLabel *caption(QWidget *parent, const QString &name, const QString &text);
// An empty figure label named `name`.
QLabel *figure(QWidget *parent, const char *name);

}  // namespace settlementkit
}  // namespace kestavion
