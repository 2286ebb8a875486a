#pragma once

// The whole program around its data folder: the main window with the dialogs
// it opens and the entries its context menu gains, built in the one order the
// menu's entries follow (the reports, the reading of the diary, its history,
// home blood pressure with the readings brought in, the medicines, the
// backups).

#include "reports/analysis_menu.h"
#include "reports/home_bp_menu.h"
#include "reports/period_dialog.h"
#include "reports/print_dialog.h"
#include "reports/report_menu.h"
#include "ui/bp_reading_dialog.h"
#include "ui/backup_menu.h"
#include "ui/cvd_questions.h"
#include "ui/form1.h"
#include "ui/history_menu.h"
#include "ui/medicine_dialog.h"
#include "ui/medicine_menu.h"
#include "ui/message_boxes.h"
#include "ui/past_record_dialog.h"
#include "ui/readings_import_dialogs.h"
#include "ui/readings_import_menu.h"
#include "ui/restore_dialogs.h"
#include "widgets/file_dialogs.h"

namespace velmora {

// Names the application and installs its fonts and Qt's Chinese texts; called
// once the application object exists, before any window is made.
void prepareApplication();

class Program
{
public:
    // The message boxes are given the main window as their parent.
    Program(DataFolder &folder, QtMessageBoxes &messages, Clock clock);

    Form1 &window() { return m_form1; }
    BackupMenu &backups() { return m_backups; }

private:
    Form1 m_form1;
    QtFileDialogs m_fileDialogs;
    QtPrintDialog m_printDialog;
    QtPeriodDialog m_periodDialog;
    ReportMenu m_reports;
    AnalysisMenu m_analysis;
    QtCvdQuestionDialog m_cvdDialog;
    CvdQuestions m_cvdQuestions;
    QtPastRecordDialog m_pastRecordDialog;
    HistoryMenu m_history;
    QtBpReadingDialog m_bpReadingDialog;
    HomeBpMenu m_homeBp;
    QtMedicineDialog m_medicineDialog;
    MedicineMenu m_medicines;
    QtReadingsImportDialogs m_readingsImportDialogs;
    ReadingsImportMenu m_readingsImport;
    QtBackupChooser m_backupChooser;
    QtRestoreChoice m_restoreChoice;
    BackupMenu m_backups;
};

} // namespace velmora
