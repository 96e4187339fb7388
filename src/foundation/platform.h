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
// One line naming the operating system, for the About box.
QString systemDescription();

}  // namespace kestavion::platform
