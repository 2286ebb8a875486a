#include "records/record_columns.h"

namespace velmora {

QString RecordColumn::heading() const
{
    const QString unitPart = unitText();
    return unitPart.isEmpty() ? titleText() : titleText() + u'(' + unitPart + u')';
}

const RecordColumn &columnOfField(Field field)
{
    for (const RecordColumn &column : RecordColumns)
        if (column.field == field)
            return column;
    return ScoreSheetColumn;
}

const RecordColumn *columnOfHeading(const QString &heading)
{
    QString text = heading.trimmed();
    text.replace(u'（', u'(').replace(u'）', u')');
    const auto names = [&text](const RecordColumn &column) {
        return text == column.titleText() || text == column.heading();
    };
    for (const RecordColumn &column : RecordColumns)
        if (names(column))
            return &column;
    return names(ScoreSheetColumn) ? &ScoreSheetColumn : nullptr;
}

bool startsLikeFormula(const QString &text)
{
    return !text.isEmpty() && QStringView(FormulaStarts).contains(text.front());
}

QString formulaGuarded(const QString &text)
{
    return startsLikeFormula(text) ? u'\'' + text : text;
}

} // namespace velmora
