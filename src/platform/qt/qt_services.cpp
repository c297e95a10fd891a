#include "platform/qt/qt_services.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMessageBox>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QTime>
#include <QUrl>

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

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Farrowdel"),
                QStringLiteral("Farrowdel"))
{
}

std::string QtSettingsStore::get(const std::string &, const std::string &section,
                                 const std::string &key, const std::string &defaultValue)
{
    settings_.beginGroup(q(section));
    const QVariant v = settings_.value(q(key));
    settings_.endGroup();
    if (!v.isValid())
        return defaultValue;
    // A value edited by hand to hold an unquoted comma reads back as a list: keep it as text.
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", ")).toStdString();
    return v.toString().toStdString();
}

void QtSettingsStore::set(const std::string &, const std::string &section, const std::string &key,
                          const std::string &value)
{
    settings_.beginGroup(q(section));
    settings_.setValue(q(key), q(value));
    settings_.endGroup();
    settings_.sync();
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
