#pragma once

#include "records/health_record.h"

#include <QString>

#include <array>

namespace velmora {

// One column of the record table the program exports for spreadsheets and
// reads back: the field it shows, its title (the window's column title) and
// its unit, empty for none. Its heading in the table is "title(unit)", for
// example "年龄(岁)", or the title alone.
struct RecordColumn
{
    Field field;
    const char16_t *title;
    const char16_t *unit;

    QString titleText() const { return QString::fromUtf16(title); }
    QString unitText() const { return QString::fromUtf16(unit); }
    QString heading() const;
};

// The columns of the sheet in their order: the date and time (the RecordId),
// then the thirteen factors in the order of the window's entry row, left to right.
inline constexpr std::array<RecordColumn, FieldCount> RecordColumns = {{
    {RecordIdField, u"日期时间", u""},
    {SexField, u"性别", u""},
    {AgeField, u"年龄", u"岁"},
    {HeightField, u"身高", u"cm"},
    {WeightField, u"体重", u"kg"},
    {WaistField, u"腰围", u"cm"},
    {CholesterolField, u"胆固醇", u"mmol/L"},
    {TriglyceridesField, u"甘油三脂", u"mmol/L"},
    {SystolicField, u"血压/高", u"mmHg"},
    {DiastolicField, u"血压/低", u"mmHg"},
    {BloodSugarField, u"血糖", u"mmol/L"},
    {SmokingField, u"吸烟", u"年"},
    {DrinkingField, u"饮酒", u"年"},
    {HeredityField, u"遗传", u""},
}};

// The sheet's last column: the risk score of a read pass, which no file holds.
inline constexpr RecordColumn ScoreSheetColumn{FieldCount, u"风险评分", u""};

// The column of a field.
const RecordColumn &columnOfField(Field field);

// The column a heading names: its title alone or followed by its own unit in
// brackets (ASCII or full-width), blanks around it ignored. The score column
// is found too; nothing for any other heading.
const RecordColumn *columnOfHeading(const QString &heading);

// A spreadsheet takes a cell that begins with one of these for a formula, so
// the export writes such text cells with a leading apostrophe.
inline constexpr char16_t FormulaStarts[] = u"=+-@\t\r";
bool startsLikeFormula(const QString &text);
// The text as a spreadsheet cell: with a leading apostrophe when it starts like a formula.
QString formulaGuarded(const QString &text);

} // namespace velmora
