// The Diary's import of readings from elsewhere: the file is read and
// checked against the current user's readings as they were before it was
// chosen; the summary asks; the new readings go in with one save, which
// refuses when the .bp file has changed meanwhile.

#include "diary/diary.h"

#include "diary/messages.h"
#include "imports/column_memory.h"
#include "imports/health_export.h"
#include "imports/readings_file.h"

#include <QDir>

namespace velmora {

namespace {

constexpr int PreviewRows = 8;

QString memoryPath(const DataFolder &folder)
{
    return QDir(folder.folder()).filePath(ColumnMemoryFileName);
}

// The remembered columns; nothing when the file is there but cannot be read
// (it is then left as it is).
std::optional<ColumnMemory> loadColumnMemory(const DataFolder &folder)
{
    const QString path = memoryPath(folder);
    if (!fileExists(path))
        return ColumnMemory{};
    QString error;
    const std::optional<QByteArray> content = folder.read(path, &error);
    if (!content)
        return std::nullopt;
    return readColumnMemory(*content);
}

// Remembers the columns for the table's headings; false (with the reason) when the file cannot be written.
bool rememberColumnChoice(const DataFolder &folder, const QStringList &headings, const ColumnChoice &columns,
                          QString *error)
{
    std::optional<ColumnMemory> memory = loadColumnMemory(folder);
    if (!memory) {
        *error = QStringLiteral("%1 无法读取").arg(ColumnMemoryFileName);
        return false;
    }
    rememberColumns(*memory, headings, columns);
    const QByteArray content = columnMemoryContent(*memory);
    const FileResult saved = folder.save(memoryPath(folder), [&](QIODevice &device) { return writeAll(device, content); });
    *error = saved.error;
    return bool(saved);
}

ColumnQuestion columnQuestion(const TableFile &table, const TableLayout &layout)
{
    ColumnQuestion question{layout.question, table.headings(), {}, layout.columns};
    for (const CsvRow &row : table.dataRows()) {
        if (int(question.rows.size()) == PreviewRows)
            break;
        if (!row.isBlank())
            question.rows.push_back(row.fields);
    }
    return question;
}

} // namespace

Outcome Diary::importReadings(QIODevice &file, ReadingsImportDialogs &dialogs)
{
    if (refuseWithoutUser())
        return Outcome::nothing();
    const BpFile *current = homeReadings(m_currentUser);
    if (!current)
        return Outcome::nothing();
    const BpFile before = *current;
    const FileFingerprint readAs = m_readings.fingerprint();
    const ReadingsFileKind kind = readingsFileKind(file);
    if (kind == ReadingsFileKind::Table)
        return importTable(file, dialogs, before, readAs);
    const ReadProgress progress = [&](qint64 done, qint64 total) { return dialogs.progress(done, total); };
    ImportedReadings imported = kind == ReadingsFileKind::PhoneZip ? readHealthExportZip(file, progress)
                                                                  : readHealthExportXml(file, progress);
    dialogs.endProgress();
    if (imported.cancelled)
        return Outcome::nothing();
    if (!imported.error.isEmpty()) {
        m_messages.inform(messages::readingsRefused(imported.error));
        return Outcome::nothing();
    }
    ReadingsPlan plan = planReadings(std::move(imported), before.entries, m_clock());
    if (plan.toAdd.empty()) {
        m_messages.inform(readingsSummary(plan));
        return Outcome::nothing();
    }
    if (dialogs.confirm(readingsSummary(plan), true, false) != ReadingsImportDialogs::Answer::Import
        || !addImported(readAs, before, std::move(plan.toAdd)))
        return Outcome::nothing();
    return Outcome::readings();
}

// A table: its columns from the headings, from the columns chosen last for
// the same headings, or from the person; the person may choose again after
// the summary.
Outcome Diary::importTable(QIODevice &file, ReadingsImportDialogs &dialogs, const BpFile &before,
                           const FileFingerprint &readAs)
{
    const TableFile table = readTableFile(file);
    TableLayout layout = recogniseTable(table);
    if (!layout.error.isEmpty()) {
        m_messages.inform(messages::readingsRefused(layout.error));
        return Outcome::nothing();
    }
    const QStringList headings = table.headings();
    if (!layout.question.isEmpty()) {
        const std::optional<ColumnMemory> memory = loadColumnMemory(m_folder);
        if (const auto remembered = memory ? rememberedColumns(*memory, headings) : std::nullopt) {
            layout.columns = *remembered;
            layout.kind = TableLayout::Kind::Chosen;
            layout.question.clear();
        }
    }
    bool chosen = false;
    for (;;) {
        if (!layout.question.isEmpty()) {
            const std::optional<ColumnChoice> choice = dialogs.chooseColumns(columnQuestion(table, layout));
            if (!choice)
                return Outcome::nothing();
            layout.columns = *choice;
            layout.kind = TableLayout::Kind::Chosen;
            layout.question.clear();
            chosen = true;
        }
        ReadingsPlan plan = planReadings(tableReadings(table, layout), before.entries, m_clock());
        const auto answer = dialogs.confirm(readingsSummary(plan), !plan.toAdd.empty(), true);
        if (answer == ReadingsImportDialogs::Answer::ChooseColumns) {
            layout.question = messages::ChooseColumnsAgain;
            continue;
        }
        if (answer != ReadingsImportDialogs::Answer::Import || !addImported(readAs, before, std::move(plan.toAdd)))
            return Outcome::nothing();
        QString error;
        if (chosen && !rememberColumnChoice(m_folder, headings, layout.columns, &error))
            m_messages.inform(messages::columnsNotRemembered(error));
        return Outcome::readings();
    }
}

bool Diary::addImported(const FileFingerprint &readAs, BpFile file, std::vector<BpReading> added)
{
    const int count = int(added.size());
    file.insert(std::move(added));
    // Against the file as it was when the import began: the dialogs may have
    // let the cache read it again since.
    const std::optional<QByteArray> content = bpFileContent(file);
    const std::optional<FileFingerprint> written = rewriteUserContent(
        ChangeKind::ReadingsImport, m_currentUser, UserFile::BloodPressure, readAs, content,
        QStringLiteral("读数中有文件不能保存的文字"));
    if (!written)
        return false;
    m_readings.keep(m_currentUser, *written, std::move(file));
    m_messages.inform(messages::readingsImported(count));
    return true;
}

} // namespace velmora
