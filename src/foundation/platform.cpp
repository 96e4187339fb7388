#include "foundation/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>

namespace kestavion::platform {

QString defaultBackupFolder() {
#ifdef Q_OS_WIN
    return QStringLiteral("D:\\数据备份");
#else
    return QDir::homePath() + QStringLiteral("/数据备份");
#endif
}

QString dataFolder(const QString &programFolder, const QString &environment) {
    if (!environment.trimmed().isEmpty()) return QDir::cleanPath(environment.trimmed());
    QFile marker(QDir(programFolder).filePath(QStringLiteral("../share/kestavion/data-folder")));
    if (marker.open(QIODevice::ReadOnly)) {
        const QString folder = QString::fromUtf8(marker.readLine()).trimmed();
        if (!folder.isEmpty()) return QDir::cleanPath(QDir(programFolder).absoluteFilePath(folder));
    }
    return programFolder;
}

QString dataFolder() {
    return dataFolder(QCoreApplication::applicationDirPath(), qEnvironmentVariable("KESTAVION_DATA_DIR"));
}

QStringList calculatorCandidates() {
#ifdef Q_OS_WIN
    return {QStringLiteral("C:\\WINDOWS\\system32\\calc.exe"), QStringLiteral("calc.exe")};
#elif defined(Q_OS_MACOS)
    return {QStringLiteral("/System/Applications/Calculator.app/Contents/MacOS/Calculator")};
#else
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("mate-calc"),
            QStringLiteral("galculator"), QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")};
#endif
}

QStringList editorCandidates() {
#ifdef Q_OS_WIN
    return {QStringLiteral("C:\\WINDOWS\\system32\\notepad.exe"), QStringLiteral("notepad.exe")};
#elif defined(Q_OS_MACOS)
    return {QStringLiteral("/System/Applications/TextEdit.app/Contents/MacOS/TextEdit")};
#else
    return {QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"), QStringLiteral("kate"),
            QStringLiteral("kwrite"), QStringLiteral("mousepad"), QStringLiteral("pluma"),
            QStringLiteral("xed"), QStringLiteral("leafpad"), QStringLiteral("xedit")};
#endif
}

QString systemDescription() {
    return QSysInfo::prettyProductName() + QStringLiteral(" (") + QSysInfo::currentCpuArchitecture() +
           QStringLiteral(", ") + QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion() +
           QLatin1Char(')');
}

}  // namespace kestavion::platform
