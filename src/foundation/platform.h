#pragma once

#include <QString>
#include <QStringList>

// What differs from one operating system to another, in one place.
namespace kestavion::platform {

// The backup folder a new database proposes ("D:\数据备份" on a Windows till).
QString defaultBackupFolder();
// Programs tried in order for the calculator and the text editor.
QStringList calculatorCandidates();
QStringList editorCandidates();
// The folder that holds the database (and the till's settings): the folder named
// by $KESTAVION_DATA_DIR when set; else the folder named in the first line of
// <program folder>/../share/kestavion/data-folder, which the installed package
// carries (/var/lib/kestavion, one folder for every user of the machine); else the
// program's own folder, as a build tree or a copied program has it.
QString dataFolder(const QString &programFolder, const QString &environment);
// dataFolder() for the running program.
QString dataFolder();
// One line naming the operating system, for the About box.
QString systemDescription();

}  // namespace kestavion::platform
