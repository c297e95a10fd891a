#include "platform/qt/qt_services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace tl {

namespace {

// The first word of a desktop entry's Exec line, with its quoting undone.
QString firstExecWord(const QString &exec)
{
    QString word;
    bool quoted = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'\\' && i + 1 < exec.size())
                word += exec[++i];
            else if (c == u'"')
                quoted = false;
            else
                word += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c.isSpace()) {
            if (!word.isEmpty())
                break;
        } else {
            word += c;
        }
    }
    return word;
}

// The Exec value of the [Desktop Entry] group of a desktop file, "" when there is none.
QString execOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        if (inEntry && line.startsWith(QStringLiteral("Exec"))) {
            const int eq = line.indexOf(u'=');
            if (eq > 0 && line.left(eq).trimmed() == QStringLiteral("Exec"))
                return line.mid(eq + 1).trimmed();
        }
    }
    return {};
}

// Where the desktop entry `id` may lie below one "applications" folder: "a-b-c.desktop" may be
// "a-b-c.desktop", "a/b-c.desktop" or "a/b/c.desktop".
QStringList candidatePaths(const QString &applications, const QString &id)
{
    QStringList paths{applications + u'/' + id};
    QString rest = id;
    QString prefix;
    for (int dash = rest.indexOf(u'-'); dash > 0; dash = rest.indexOf(u'-')) {
        prefix += rest.left(dash) + u'/';
        rest = rest.mid(dash + 1);
        paths << applications + u'/' + prefix + rest;
    }
    return paths;
}

} // namespace

QStringList QtBrowser::DataDirs()
{
    QStringList dirs;
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.local/share");
    dirs << home;
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty())
        system = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString &d : system.split(u':', Qt::SkipEmptyParts))
        dirs << d;
    return dirs;
}

std::string QtBrowser::ProgramOfDesktopEntry(const QString &desktopId, const QStringList &dataDirs)
{
    if (desktopId.isEmpty() || desktopId.contains(QStringLiteral("..")))
        return {};
    for (const QString &dir : dataDirs) {
        for (const QString &path : candidatePaths(dir + QStringLiteral("/applications"), desktopId)) {
            if (!QFileInfo(path).isFile())
                continue;
            // The first entry found is the one in force, whether it can be used or not.
            const QString program = firstExecWord(execOf(path));
            if (program.isEmpty())
                return {};
            if (program.contains(u'/')) {
                const QFileInfo info(program);
                return info.isFile() && info.isExecutable() ? info.absoluteFilePath().toStdString()
                                                            : std::string();
            }
            return QStandardPaths::findExecutable(program).toStdString();
        }
    }
    return {};
}

std::string QtBrowser::findHtmlProgram()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("text/html")});
    if (!query.waitForStarted(3000))
        return {};
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return {};
    }
    const QString id = QString::fromLocal8Bit(query.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
    if (id.isEmpty())
        return {};
    const std::string program = ProgramOfDesktopEntry(id, DataDirs());
    if (!program.empty())
        return program;
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open")).toStdString();
}

bool QtBrowser::launch(const std::string &program, const std::string &url, bool)
{
    if (program.empty())
        return false;
    return QProcess::startDetached(QString::fromStdString(program), {QString::fromStdString(url)});
}

} // namespace tl
