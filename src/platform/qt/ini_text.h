// The text of an INI settings file in the form that QSettings(IniFormat) writes, read and changed
// line by line.
//
// How it fits together: the file's bytes are cut into lines, and each line is read on its own:
// a "[Section]" header, a "key=value" entry, a comment from ';', a blank line, or a damaged line.
// Within a line the rules are QSettings' own (section names and keys %-escaped, a '\' in a key
// standing for '/', values with quotes, \-escapes and unquoted commas that make a list, "@@" for
// a leading '@'), and a value is written exactly as QSettings writes it; so a file written by
// QSettings reads back the same here, and a file written here reads back the same in QSettings.
//
// What differs is damage. QSettings lets a double quote run on until the next quote and a
// backslash at the end of a line join the next line, so one stray quote typed into a value
// swallows every later line, and its next write of the file drops them all. Here a line never
// reaches into another: a line holding a control character (NUL, binary junk), a quote that is
// not closed or a backslash at its end is damaged, and its key reads as missing. A line whose
// bytes are not UTF-8 is read as Latin-1.
//
// A change rewrites one line (or adds one) and keeps every other byte of the text as it was,
// damaged lines and comments included.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace tl {

class IniText {
public:
    IniText() = default;
    explicit IniText(const QByteArray &bytes);

    // The text of `key` in `section`: the last undamaged entry of the key (a list joined with
    // ", "). Nothing when the key is missing or damaged, or when its value is no text (a value
    // QSettings reads as another type, such as "@Invalid()" or "@Size(640 480)").
    std::optional<QString> value(const QString &section, const QString &key) const;

    // Gives `key` in `section` the text `value`: the key's last entry is rewritten (a damaged one
    // too), or a new entry ends the section's last block, or a new section ends the text.
    void setValue(const QString &section, const QString &key, const QString &value);

    QByteArray bytes() const;

    // A key or section name and a text value as QSettings writes them into the file.
    static QByteArray EscapedKey(const QString &key);
    static QByteArray EscapedValue(const QString &value);

private:
    struct Line {
        QByteArray raw;        // the bytes of the line, its line break included (of a run of
                               // blank lines, or of other lines that say nothing, all of them)
        QString section;       // the section the line stands in
        QString path;          // entries: "section/key" (the section's keys have no prefix)
        bool header = false;   // a section header; `path` is the section
        bool entry = false;    // a "key=value" line
        bool damaged = false;  // an entry that cannot be read
        bool blank = false;    // nothing but blanks and line breaks
        int valueStart = 0;    // entries: the offset of the value in `raw`
        std::optional<QString> text; // entries: the value when it is text
    };

    static Line ParseLine(const QByteArray &raw, QString &section, bool first);
    static QString Path(const QString &section, const QString &key);

    std::vector<Line> lines_;
};

} // namespace tl
