#include "platform/fake/fakes.h"

namespace tl {

MsgAnswer FakeMessageBox::show(const std::string &title, const std::string &text, MsgIcon icon,
                               MsgButtons buttons)
{
    shown.push_back({title, text, icon, buttons});
    if (onShow)
        onShow(shown.back());
    if (!answers.empty()) {
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) ? MsgAnswer::Yes
                                                                                : MsgAnswer::Ok;
}

std::string FakeInputBox::ask(const std::string &prompt, const std::string &title,
                              const std::string &defaultText)
{
    asked.push_back({prompt, title, defaultText});
    if (answers.empty())
        return "";
    std::string a = answers.front();
    answers.pop_front();
    return a;
}

std::string MemorySettings::get(const std::string &app, const std::string &section,
                                const std::string &key, const std::string &defaultValue)
{
    auto it = values.find({app, section, key});
    return it == values.end() ? defaultValue : it->second;
}

void MemorySettings::set(const std::string &app, const std::string &section, const std::string &key,
                         const std::string &value)
{
    values[{app, section, key}] = value;
    writes.push_back({app, section, key, value});
}

std::string MemorySettings::value(const std::string &section, const std::string &key,
                                  const std::string &app) const
{
    auto it = values.find({app, section, key});
    return it == values.end() ? std::string() : it->second;
}

bool MemorySettings::has(const std::string &section, const std::string &key,
                         const std::string &app) const
{
    return values.count({app, section, key}) != 0;
}

int FakeSound::load(const std::string &path)
{
    loaded.push_back(path);
    return static_cast<int>(loaded.size());
}

void FakeSound::play(int handle)
{
    if (handle < 1 || handle > static_cast<int>(loaded.size()))
        return;
    const std::string &p = loaded[handle - 1];
    const auto slash = p.find_last_of('/');
    played.push_back(slash == std::string::npos ? p : p.substr(slash + 1));
}

void FakeClock::advance(int s)
{
    seconds = (seconds + s) % 86400;
    ms += static_cast<std::int64_t>(s) * 1000;
}

} // namespace tl
