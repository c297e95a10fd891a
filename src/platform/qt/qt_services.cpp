#include "platform/qt/qt_services.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLockFile>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QTime>
#include <QUrl>

#include <optional>
#include <utility>

namespace tl {

namespace {
QString q(const std::string &s) { return QString::fromStdString(s); }
} // namespace

// ---- Message box -------------------------------------------------------------------------------

MsgAnswer QtMessageBox::show(const std::string &title, const std::string &text, MsgIcon icon,
                             MsgButtons buttons)
{
    QMessageBox box(parent_);
    box.setWindowTitle(q(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(q(text));
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    }

    std::vector<std::pair<QMessageBox::StandardButton, MsgAnswer>> list;
    switch (buttons) {
    case MsgButtons::Ok: list = {{QMessageBox::Ok, MsgAnswer::Ok}}; break;
    case MsgButtons::OkCancel: list = {{QMessageBox::Ok, MsgAnswer::Ok}, {QMessageBox::Cancel, MsgAnswer::Cancel}}; break;
    case MsgButtons::YesNo: list = {{QMessageBox::Yes, MsgAnswer::Yes}, {QMessageBox::No, MsgAnswer::No}}; break;
    case MsgButtons::YesNoCancel:
        list = {{QMessageBox::Yes, MsgAnswer::Yes}, {QMessageBox::No, MsgAnswer::No}, {QMessageBox::Cancel, MsgAnswer::Cancel}};
        break;
    }
    for (const auto &[button, answer] : list)
        box.addButton(button);
    box.setDefaultButton(list.front().first);
    // Closing the box counts as its last button: Ok, Cancel or No.
    box.setEscapeButton(list.back().first);

    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto &[button, answer] : list)
        if (button == clicked)
            return answer;
    return list.back().second;
}

// ---- Input box ---------------------------------------------------------------------------------

std::string QtInputBox::ask(const std::string &prompt, const std::string &title,
                            const std::string &defaultText)
{
    QInputDialog dialog(parent_);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(q(title));
    dialog.setLabelText(q(prompt));
    dialog.setTextValue(q(defaultText));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

// ---- Settings ----------------------------------------------------------------------------------

namespace {

// The file's bytes; empty when there is no file yet, nothing when it exists but cannot be read.
std::optional<QByteArray> ReadSettingsFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace

// QSettings names the file, so QSettings::setPath and $XDG_CONFIG_HOME choose it as before.
QtSettingsStore::QtSettingsStore()
    : QtSettingsStore(QSettings(QSettings::IniFormat, QSettings::UserScope,
                                QStringLiteral("Farrowdel"), QStringLiteral("Farrowdel"))
                          .fileName())
{
}

QtSettingsStore::QtSettingsStore(const QString &fileName) : fileName_(fileName)
{
    text_ = IniText(ReadSettingsFile(fileName_).value_or(QByteArray()));
}

std::string QtSettingsStore::get(const std::string &, const std::string &section,
                                 const std::string &key, const std::string &defaultValue)
{
    const std::optional<QString> v = text_.value(q(section), q(key));
    return v ? v->toStdString() : defaultValue;
}

void QtSettingsStore::set(const std::string &, const std::string &section, const std::string &key,
                          const std::string &value)
{
    QDir().mkpath(QFileInfo(fileName_).absolutePath());
    // The lock file QSettings uses too: another running copy of the game does not write between
    // the read and the write below. A lock left behind by a crash is stale after a while; a lock
    // that cannot be had does not stop this write.
    QLockFile lock(fileName_ + QStringLiteral(".lock"));
    lock.tryLock(2000);
    // Another copy may have written since: the change goes into the file as it is now.
    const std::optional<QByteArray> bytes = ReadSettingsFile(fileName_);
    if (bytes)
        text_ = IniText(*bytes);
    text_.setValue(q(section), q(key), q(value));
    // A file that cannot be read is not replaced by what this copy knows of it.
    if (!bytes)
        return;
    QSaveFile file(fileName_);
    const QByteArray out = text_.bytes();
    if (file.open(QIODevice::WriteOnly) && file.write(out) == out.size())
        file.commit();
    else
        file.cancelWriting();
}

// ---- Folders -----------------------------------------------------------------------------------

std::string QtFolders::programFolder()
{
    return QCoreApplication::applicationDirPath().toStdString();
}

std::string QtFolders::localAppDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
}

// ---- Sound -------------------------------------------------------------------------------------

QtSound::QtSound() = default;
QtSound::~QtSound() = default;

bool QtSound::usable()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

int QtSound::load(const std::string &path)
{
    const QFileInfo file(q(path));
    if (!file.isFile() || !file.isReadable())
        return 0;
    auto effect = std::make_unique<QSoundEffect>();
    effect->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    effects_.push_back(std::move(effect));
    return static_cast<int>(effects_.size());
}

void QtSound::play(int handle)
{
    if (handle < 1 || handle > static_cast<int>(effects_.size()))
        return;
    QSoundEffect &effect = *effects_[static_cast<std::size_t>(handle - 1)];
    // Stop first, so a sound asked for again starts from its beginning (and so an effect that
    // never reports its end, as without an audio output, still plays the next time).
    effect.stop();
    effect.play();
}

// ---- Clock and event pump ----------------------------------------------------------------------

int QtClock::secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000;
}

void QtEventPump::pumpEvents()
{
    const std::int64_t now = clock_.monotonicMs();
    if (pumped_ && now - last_ < interval_)
        return;
    pumped_ = true;
    last_ = now;
    QCoreApplication::processEvents();
}

} // namespace tl
