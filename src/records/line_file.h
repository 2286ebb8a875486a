#pragma once

// The files of dated entries that a user has beside the record file (home
// blood pressure readings, medicines): GBK with CR LF, a first line naming
// the columns, then one entry per line, its fields separated by tabs, oldest
// first. A line the program cannot read (edited by hand, written by a later
// version, cut off) is kept as it stands, at its place among the entries,
// through every rewrite: nothing a person wrote is ever dropped.

#include "records/clock_time.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVarLengthArray>

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

namespace velmora {

// A line that could not be read, without its line end. It stands before
// entry `before` (after the last entry when `before` is their count).
struct KeptLine
{
    qsizetype before = 0;
    QByteArray bytes;

    bool operator==(const KeptLine &) const = default;
};

// Entries have a `ClockStamp stamp`; the file keeps them in the order read.
template <typename Entry>
struct LineFile
{
    std::vector<Entry> entries;
    std::vector<KeptLine> kept;

    // Adds entries, each after every entry of its time or earlier (equal
    // times keep their order); a kept line stays before the entry it stood
    // before, and before the new entries that come into its place.
    void insert(std::vector<Entry> added);
};

using LineFields = QVarLengthArray<QByteArrayView, 8>;

// The fields of a line between its tabs.
LineFields tabFields(QByteArrayView line);

// The text of a GBK field, when writing it again gives the same bytes
// (an empty field is an empty text); nothing otherwise.
std::optional<QString> fieldText(QByteArrayView bytes);
// Why a text cannot be a field, naming its box: "备注不能含有制表符或换行，请修改！"
// for a tab or a line break, "备注含有不能保存的字符，请修改！" for a character GBK
// cannot hold. Nothing for a text that can.
std::optional<QString> fieldRefusal(const QString &box, const QString &text);
// Appends a text as a field: false, and nothing appended, when it holds a
// tab, a line break or a character GBK cannot hold.
bool appendField(QByteArray &out, const QString &text);

// Calls `visit(line)` for every line of the content but a first line equal
// to `header`, without line ends (LF or CR LF); empty lines are skipped.
template <typename Visit>
void forEachLine(QByteArrayView content, QByteArrayView header, Visit visit)
{
    qsizetype start = 0;
    bool first = true;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        const qsizetype next = end < 0 ? content.size() : end + 1;
        if (end < 0)
            end = content.size();
        QByteArrayView line = content.sliced(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        const bool isHeader = first && line == header;
        first = false;
        if (!line.isEmpty() && !isHeader)
            visit(line);
        start = next;
    }
}

// Reads a file: `parse(line)` gives an entry, or nothing for a line to keep as it stands.
template <typename Entry, typename Parse>
LineFile<Entry> readLineFile(QByteArrayView content, QByteArrayView header, Parse parse)
{
    LineFile<Entry> file;
    // One array for the entries, not a growing one: a file may hold a great
    // many. Room for a line in every 16 bytes at most (a reading's line is
    // longer), so that a file of empty lines reserves no more than that.
    file.entries.reserve(size_t(std::min(content.count('\n') + 1, content.size() / 16)));
    forEachLine(content, header, [&](QByteArrayView line) {
        if (std::optional<Entry> entry = parse(line))
            file.entries.push_back(std::move(*entry));
        else
            file.kept.push_back({qsizetype(file.entries.size()), line.toByteArray()});
    });
    return file;
}

// The file's bytes: the header, then the entries and the kept lines in their
// places, each line ended by CR LF. `format(out, entry)` appends an entry's
// line without its end, false when it cannot (then nothing is made).
template <typename Entry, typename Format>
std::optional<QByteArray> lineFileContent(QByteArrayView header, const LineFile<Entry> &file, Format format)
{
    QByteArray out;
    out.reserve(qsizetype(file.entries.size()) * 40 + header.size() + 2);
    out.append(header).append("\r\n");
    auto kept = file.kept.begin();
    for (size_t i = 0; i <= file.entries.size(); ++i) {
        for (; kept != file.kept.end() && size_t(kept->before) <= i; ++kept)
            out.append(kept->bytes).append("\r\n");
        if (i == file.entries.size())
            break;
        if (!format(out, file.entries[i]))
            return std::nullopt;
        out.append("\r\n");
    }
    return out;
}

template <typename Entry>
void LineFile<Entry>::insert(std::vector<Entry> added)
{
    std::stable_sort(added.begin(), added.end(), [](const Entry &a, const Entry &b) { return a.stamp < b.stamp; });
    // The gap of each new entry: how many of the old entries come before it
    // (in a file put out of order by hand, the old entries up to the first
    // later one).
    std::vector<qsizetype> gaps;
    gaps.reserve(added.size());
    qsizetype gap = 0;
    for (const Entry &entry : added) {
        while (gap < qsizetype(entries.size()) && entries[size_t(gap)].stamp <= entry.stamp)
            ++gap;
        gaps.push_back(gap);
    }
    // The usual case: every new entry is the latest. They go after the old
    // ones, which stay where they are, as do the kept lines (before the new).
    if (!gaps.empty() && gaps.front() == qsizetype(entries.size())) {
        entries.insert(entries.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
        return;
    }
    for (KeptLine &line : kept)
        line.before += std::lower_bound(gaps.begin(), gaps.end(), line.before) - gaps.begin();
    std::vector<Entry> merged;
    merged.reserve(entries.size() + added.size());
    size_t next = 0;
    for (size_t i = 0; i <= entries.size(); ++i) {
        for (; next < added.size() && size_t(gaps[next]) == i; ++next)
            merged.push_back(std::move(added[next]));
        if (i < entries.size())
            merged.push_back(std::move(entries[i]));
    }
    entries = std::move(merged);
}

} // namespace velmora
