#include "platform/qt/qt_services.h"

#include "platform/file_writes.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMessageBox>
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

// Settings are a few kilobytes; anything larger is not a settings file the game wrote.
constexpr std::size_t kMaxSettingsBytes = 1 << 20;
// How long a write waits for another running copy of the game that holds the lock.
constexpr int kLockWaitMs = 2000;

std::string LocalPath(const QString &path) { return QFile::encodeName(path).toStdString(); }

// The file's bytes; empty when there is no file yet, nothing when something is there that is not
// a regular file of at most kMaxSettingsBytes (a folder, a FIFO, a device, a huge file) or that
// cannot be read.
std::optional<QByteArray> ReadSettingsFile(const QString &path)
{
    std::string bytes;
    if (ReadRegularFile(LocalPath(path), kMaxSettingsBytes, bytes) == ReadResult::Unreadable)
        return std::nullopt;
    return QByteArray::fromStdString(bytes);
}

} // namespace

// The file QSettings(IniFormat, UserScope, "Farrowdel", "Farrowdel") uses, worked out as QSettings
// does ($XDG_CONFIG_HOME or ~/.config) without making a QSettings object, which would open and
// read the file (and wait forever on a FIFO).
QtSettingsStore::QtSettingsStore()
    : QtSettingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                      + QStringLiteral("/Farrowdel/Farrowdel.ini"))
{
}

QtSettingsStore::QtSettingsStore(const QString &fileName) : fileName_(fileName)
{
    // Writes interrupted in an earlier run may have left their new files beside the settings;
    // while the lock is held no write of another copy of the game is under way.
    FileLock lock(LocalPath(fileName_ + QStringLiteral(".lock")));
    if (lock.tryLock(kLockWaitMs))
        RemoveLeftoverTemporaries(LocalPath(fileName_));
    text_ = IniText(ReadSettingsFile(fileName_).value_or(QByteArray()));
}

std::string QtSettingsStore::get(const std::string &, const std::string &section,
                                 const std::string &key, const std::string &defaultValue)
{
    const std::optional<QString> v = text_.value(q(section), q(key));
    return v ? v->toStdString() : defaultValue;
}

void QtSettingsStore::set(const std::string &app, const std::string &section, const std::string &key,
                          const std::string &value)
{
    setAll(app, {{section, key, value}});
}

void QtSettingsStore::setAll(const std::string &, const std::vector<SettingsEntry> &entries)
{
    QDir().mkpath(QFileInfo(fileName_).absolutePath());
    // Another running copy of the game does not write between the read and the write below. A
    // lock left behind by a crash holds nothing and is taken over at once; a live holder that
    // does not let go in time does not stop this write.
    FileLock lock(LocalPath(fileName_ + QStringLiteral(".lock")));
    lock.tryLock(kLockWaitMs);
    // Another copy may have written since: the change goes into the file as it is now.
    const std::optional<QByteArray> bytes = ReadSettingsFile(fileName_);
    if (bytes)
        text_ = IniText(*bytes);
    for (const SettingsEntry &e : entries)
        text_.setValue(q(e.section), q(e.key), q(e.value));
    // A file that cannot be read is not replaced by what this copy knows of it, and a text that
    // would not be read back (larger than the reader takes) is not written: from then on the
    // settings would read as none and never be written again. The new text replaces the file
    // only once all of it is on disk: every key of the call or none.
    const QByteArray text = text_.bytes();
    if (bytes && static_cast<std::size_t>(text.size()) <= kMaxSettingsBytes)
        ReplaceFile(LocalPath(fileName_), text.toStdString());
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
