#include "platform/qt/ini_text.h"

#include <QStringDecoder>
#include <QStringList>

#include <algorithm>

namespace tl {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexValue(char16_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes of a line without its line break.
QByteArray Body(const QByteArray &raw)
{
    qsizetype n = raw.size();
    while (n > 0 && (raw[n - 1] == '\n' || raw[n - 1] == '\r'))
        --n;
    return raw.left(n);
}

// The line break that ends `raw` (of a run of lines, the last one's).
QByteArray LineBreak(const QByteArray &raw)
{
    if (raw.endsWith("\r\n"))
        return "\r\n";
    if (raw.endsWith('\n') || raw.endsWith('\r'))
        return raw.right(1);
    return {};
}

// The last line break within `raw` (a run of lines may end without one).
QByteArray LastLineBreak(const QByteArray &raw)
{
    const qsizetype at = std::max(raw.lastIndexOf('\n'), raw.lastIndexOf('\r'));
    return at < 0 ? QByteArray() : LineBreak(raw.left(at + 1));
}


bool IsUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = utf8.decode(bytes);
    return !utf8.hasError();
}

QString Decode(QByteArrayView bytes, bool latin1)
{
    return latin1 ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
}

// A key or section name from the file: '\' stands for '/', %XX and %UXXXX for one character.
QString UnescapedKey(const QString &text)
{
    QString result;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (c == u'%') {
            const bool wide = i + 1 < text.size() && text[i + 1] == u'U';
            const qsizetype first = i + (wide ? 2 : 1), digits = wide ? 4 : 2;
            int code = 0;
            bool ok = first + digits <= text.size();
            for (qsizetype k = 0; ok && k < digits; ++k) {
                const int h = HexValue(text[first + k].unicode());
                ok = h >= 0;
                code = code * 16 + h;
            }
            if (ok) {
                result += QChar(char16_t(code));
                i = first + digits;
                continue;
            }
        }
        result += c;
        ++i;
    }
    return result;
}

// A value as QSettings reads it: blanks around it dropped unless quoted, \-escapes, and an
// unquoted comma splitting it into a list. The bytes between the special characters are
// decoded as UTF-8, or as Latin-1 for a line that is not UTF-8.
QStringList UnescapedValue(QByteArrayView s, bool latin1, bool &isList)
{
    QStringList parts;
    QString current;
    bool inQuotes = false, quoted = false, chopAtEnd = true;
    qsizetype i = 0, keep = 0; // trailing blanks are dropped down to `keep` characters only
    const qsizetype n = s.size();
    auto skipBlanks = [&] {
        while (i < n && IsBlank(s[i]))
            ++i;
        keep = current.size();
    };
    auto chop = [&] {
        if (!quoted)
            while (current.size() > keep && (current.back() == u' ' || current.back() == u'\t'))
                current.chop(1);
    };

    isList = false;
    skipBlanks();
    while (i < n) {
        const char c = s[i];
        if (c == '\\') {
            if (++i >= n) {
                chopAtEnd = false;
                break;
            }
            const char e = s[i++];
            static const char simple[] = "a\ab\bf\fn\nr\rt\tv\v\"\"?" "?''\\\\";
            const char *hit = nullptr;
            for (const char *p = simple; *p; p += 2)
                if (*p == e)
                    hit = p;
            if (hit) {
                current += QLatin1Char(hit[1]);
            } else if (e == 'x') {
                if (i >= n) {
                    chopAtEnd = false;
                    break;
                }
                if (HexValue(char16_t(uchar(s[i]))) >= 0) {
                    unsigned code = 0;
                    while (i < n && HexValue(char16_t(uchar(s[i]))) >= 0)
                        code = code * 16 + unsigned(HexValue(char16_t(uchar(s[i++]))));
                    current += QChar(char16_t(code));
                }
            } else if (e >= '0' && e <= '7') {
                unsigned code = unsigned(e - '0');
                while (i < n && s[i] >= '0' && s[i] <= '7')
                    code = code * 8 + unsigned(s[i++] - '0');
                current += QChar(char16_t(code));
            }
            // Any other escaped character is dropped.
            keep = current.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (c == ',' && !inQuotes) {
            chop();
            isList = true;
            parts.append(current);
            current.clear();
            quoted = false;
            ++i;
            skipBlanks();
        } else {
            qsizetype j = i + 1;
            while (j < n && s[j] != '\\' && s[j] != '"' && s[j] != ',')
                ++j;
            current += Decode(s.sliced(i, j - i), latin1);
            i = j;
        }
    }
    if (chopAtEnd)
        chop();
    parts.append(current);
    return parts;
}

// The text of a value, as QSettings turns the file's text into a variant and the variant into
// text: "@@" stands for '@', "@String(...)" and "@ByteArray(...)" hold text, the other "@Type(...)"
// forms hold none.
std::optional<QString> TextOf(const QString &s)
{
    if (!s.startsWith(u'@'))
        return s;
    if (s.startsWith(u"@@"))
        return s.mid(1);
    if (s.endsWith(u')')) {
        if (s == QStringLiteral("@Invalid()"))
            return std::nullopt;
        for (const char16_t *textual : {u"@String(", u"@ByteArray("})
            if (s.startsWith(textual)) {
                const qsizetype from = QStringView(textual).size();
                return s.mid(from, s.size() - from - 1);
            }
        for (const char16_t *typed : {u"@Variant(", u"@DateTime(", u"@Rect(", u"@Size(", u"@Point("})
            if (s.startsWith(typed))
                return std::nullopt;
    }
    return s;
}

} // namespace

// ---- Reading -------------------------------------------------------------------------------------

IniText::IniText(const QByteArray &bytes)
{
    QString section;
    for (qsizetype i = 0, n = bytes.size(); i < n;) {
        qsizetype j = i;
        while (j < n && bytes[j] != '\n' && bytes[j] != '\r')
            ++j;
        if (j < n)
            j += (bytes[j] == '\r' && j + 1 < n && bytes[j + 1] == '\n') ? 2 : 1;
        Line line = ParseLine(bytes.mid(i, j - i), section, i == 0);
        // Lines that say nothing (blank lines, comments, junk) are kept as runs of one kind,
        // blank or not, so that a file of a million blank lines costs one entry, not a million;
        // a new key still goes in after the last line of a section that is not blank.
        const bool plain = !line.entry && !line.header;
        if (plain && !lines_.empty() && !lines_.back().entry && !lines_.back().header
            && lines_.back().blank == line.blank)
            lines_.back().raw += line.raw;
        else
            lines_.push_back(std::move(line));
        i = j;
    }
}

QString IniText::Path(const QString &section, const QString &key)
{
    return section.isEmpty() ? key : section + u'/' + key;
}

IniText::Line IniText::ParseLine(const QByteArray &raw, QString &section, bool first)
{
    Line line;
    line.raw = raw;
    line.section = section;
    const QByteArray body = Body(raw);
    line.blank = body.trimmed().isEmpty();
    const qsizetype n = body.size();
    qsizetype s = first && body.startsWith("\xEF\xBB\xBF") ? 3 : 0;

    // QSettings never writes a control character into the file (it escapes them), so a line
    // holding one is junk, whatever else it seems to say.
    bool control = false;
    for (char c : body)
        control = control || (uchar(c) < 0x20 && c != '\t');
    const bool latin1 = !IsUtf8(body);

    while (s < n && IsBlank(body[s]))
        ++s;
    if (s == n || body[s] == ';')
        return line;
    if (body[s] == '[') {
        if (control)
            return line;
        const qsizetype close = body.indexOf(']', s);
        const QByteArray name =
            (close < 0 ? body.mid(s + 1) : body.mid(s + 1, close - s - 1)).trimmed();
        if (name.compare("general", Qt::CaseInsensitive) == 0)
            section.clear();
        else if (name.startsWith('%') && name.mid(1).compare("general", Qt::CaseInsensitive) == 0)
            section = Decode(name.mid(1), latin1);
        else
            section = UnescapedKey(Decode(name, latin1));
        line.header = true;
        line.section = section;
        line.path = section;
        return line;
    }

    // The key ends at the first '=' outside quotes; an unquoted ';' starts a comment.
    bool inQuotes = false, continued = false;
    qsizetype equals = -1, end = n;
    for (qsizetype i = s; i < n; ++i) {
        const char c = body[i];
        if (c == '\\') {
            if (i + 1 == n)
                continued = true;
            ++i;
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == '=' && !inQuotes && equals < 0) {
            equals = i;
        } else if (c == ';' && !inQuotes) {
            end = i;
            break;
        }
    }
    if (equals < 0)
        return line;
    qsizetype keyEnd = equals;
    while (keyEnd > s && IsBlank(body[keyEnd - 1]))
        --keyEnd;
    line.entry = true;
    line.path = Path(section, UnescapedKey(Decode(body.sliced(s, keyEnd - s), latin1)));
    line.valueStart = int(equals + 1);
    // A quote left open or a backslash at the end would make QSettings read on into the next
    // lines: the value is lost, the next lines are not.
    line.damaged = control || inQuotes || continued;
    if (!line.damaged) {
        bool isList = false;
        const QStringList parts =
            UnescapedValue(QByteArrayView(body).sliced(equals + 1, end - equals - 1), latin1, isList);
        if (!isList) {
            line.text = TextOf(parts.front());
        } else {
            // A list (an unquoted comma typed by hand) reads as its items joined again; an item
            // of another type leaves no text.
            QStringList items;
            for (const QString &part : parts) {
                if (part.startsWith(u'@') && !part.startsWith(u"@@"))
                    return line;
                items.append(part.startsWith(u'@') ? part.mid(1) : part);
            }
            line.text = items.join(QStringLiteral(", "));
        }
    }
    return line;
}

std::optional<QString> IniText::value(const QString &section, const QString &key) const
{
    const QString path = Path(section, key);
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
        if (it->entry && !it->damaged && it->path == path)
            return it->text;
    return std::nullopt;
}

QByteArray IniText::bytes() const
{
    QByteArray out;
    for (const Line &line : lines_)
        out += line.raw;
    return out;
}

// ---- Writing -------------------------------------------------------------------------------------

QByteArray IniText::EscapedKey(const QString &key)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    for (const QChar qc : key) {
        char16_t c = qc.unicode();
        if (c == '/') {
            out += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '_' || c == '-' || c == '.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += hex[c / 16];
            out += hex[c % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hex[(c >> shift) & 0xF];
        }
    }
    return out;
}

QByteArray IniText::EscapedValue(const QString &value)
{
    // Text holding a NUL is wrapped in "@String(...)", and a leading '@' is doubled, so that the
    // value is never taken for one of the "@Type(...)" forms.
    QString s = value;
    if (value.contains(QChar(u'\0')))
        s = QStringLiteral("@String(") + value + u')';
    else if (value.startsWith(u'@'))
        s.prepend(u'@');
    QByteArray out;
    bool quotes = false;
    // After a numeric escape a hexadecimal digit is escaped too, or it would join the number.
    bool escapeHexDigit = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c == ';' || c == ',' || c == '=')
            quotes = true;
        if (escapeHexDigit && HexValue(c) >= 0) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeHexDigit = false;
        switch (c) {
        case u'\0': out += "\\0"; escapeHexDigit = true; break;
        case u'\a': out += "\\a"; break;
        case u'\b': out += "\\b"; break;
        case u'\f': out += "\\f"; break;
        case u'\n': out += "\\n"; break;
        case u'\r': out += "\\r"; break;
        case u'\t': out += "\\t"; break;
        case u'\v': out += "\\v"; break;
        case u'"':
        case u'\\':
            out += '\\';
            out += char(c);
            break;
        default:
            if (c <= 0x1F) {
                out += "\\x" + QByteArray::number(c, 16);
                escapeHexDigit = true;
            } else if (c < 0x80) {
                out += char(c);
            } else {
                // A run of other characters goes in as UTF-8, surrogate pairs together.
                qsizetype j = i;
                while (j < s.size() && s[j].unicode() >= 0x80)
                    ++j;
                out += QStringView(s).sliced(i, j - i).toUtf8();
                i = j - 1;
            }
        }
    }
    if (quotes || out.startsWith(' ') || out.endsWith(' '))
        out = '"' + out + '"';
    return out;
}

void IniText::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString path = Path(section, key);
    const QByteArray escaped = EscapedValue(value);

    // The last entry of the key is the one that is read: rewrite its value.
    for (std::size_t i = lines_.size(); i-- > 0;) {
        Line &line = lines_[i];
        if (line.entry && line.path == path) {
            // The value goes in as UTF-8, so a key written in Latin-1 goes over to UTF-8 with it:
            // a line is read in one encoding.
            QByteArray key = line.raw.left(line.valueStart);
            if (!IsUtf8(Body(line.raw))) {
                const qsizetype bom = i == 0 && key.startsWith("\xEF\xBB\xBF") ? 3 : 0;
                key = key.left(bom) + QString::fromLatin1(key.mid(bom)).toUtf8();
            }
            QString at = line.section;
            line = ParseLine(key + escaped + LineBreak(line.raw), at, i == 0);
            return;
        }
    }

    QByteArray eol = "\n";
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
        if (!LastLineBreak(it->raw).isEmpty()) {
            eol = LastLineBreak(it->raw);
            break;
        }
    auto endLine = [&](std::size_t index) {
        if (LineBreak(lines_[index].raw).isEmpty())
            lines_[index].raw += eol;
    };

    // A new key ends the last block of its section, before the blank lines that follow it.
    std::size_t insertAt = 0;
    bool found = false, inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line &line = lines_[i];
        if (line.header)
            inSection = line.path == section;
        if (inSection && !line.blank) {
            insertAt = i + 1;
            found = true;
        }
    }
    QString at = section;
    const QByteArray entry = EscapedKey(key) + '=' + escaped + eol;
    if (found) {
        endLine(insertAt - 1);
        lines_.insert(lines_.begin() + std::ptrdiff_t(insertAt), ParseLine(entry, at, false));
        return;
    }

    // A new section ends the text, after a blank line.
    if (!lines_.empty()) {
        endLine(lines_.size() - 1);
        if (!lines_.back().blank)
            lines_.push_back(ParseLine(eol, at, false));
    }
    const QByteArray name = section.isEmpty() ? QByteArray("General")
                            : section.compare(u"general", Qt::CaseInsensitive) == 0
                                ? '%' + EscapedKey(section)
                                : EscapedKey(section);
    lines_.push_back(ParseLine('[' + name + ']' + eol, at, lines_.empty()));
    lines_.push_back(ParseLine(entry, at, false));
}

} // namespace tl
