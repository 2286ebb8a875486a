#include "app/program.h"

#include "ui/fonts.h"
#include "ui/translations.h"
#include "ui/trend_chart_view.h"

#include <QApplication>

namespace velmora {

void prepareApplication()
{
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    installFonts();
    installQtTranslation();
}

Program::Program(DataFolder &folder, QtMessageBoxes &messages, Clock clock)
    : m_form1(folder, messages, std::move(clock)),
      m_fileDialogs(&m_form1),
      m_printDialog(&m_form1),
      m_periodDialog(&m_form1),
      m_reports(
          m_form1.contextMenu(), m_form1.diary(),
          [this](qreal scale, const std::vector<ChartMark> &marks) {
              return m_form1.chartView()->renderChart(scale, marks);
          },
          m_fileDialogs, m_printDialog, m_periodDialog, messages),
      m_analysis(m_form1.contextMenu(), m_form1.diary(), m_periodDialog, messages, m_form1),
      m_cvdDialog(&m_form1),
      m_cvdQuestions(m_form1, m_cvdDialog, messages),
      m_pastRecordDialog(&m_form1),
      m_history(m_form1, m_pastRecordDialog, m_fileDialogs, messages),
      m_bpReadingDialog(&m_form1),
      m_homeBp(
          m_form1.contextMenu(), m_form1.diary(), [this] { recordBloodPressure(m_form1, m_bpReadingDialog); },
          m_fileDialogs, m_printDialog, messages, m_form1),
      m_medicineDialog(&m_form1),
      m_medicines(m_form1, m_medicineDialog, m_fileDialogs, messages),
      m_readingsImportDialogs(&m_form1),
      m_readingsImport(m_form1, m_fileDialogs, m_readingsImportDialogs, messages, m_homeBp.exportAction()),
      m_backupChooser(&m_form1, m_fileDialogs),
      m_restoreChoice(&m_form1),
      m_backups(m_form1, m_fileDialogs, m_backupChooser, m_restoreChoice)
{
    messages.setParent(&m_form1);
    m_analysis.setBeforeEstimate([this] { m_cvdQuestions.askIfUnanswered(); });
}

} // namespace velmora
