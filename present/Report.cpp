#include "present/Report.h"

#include "app/ScanDialog.h"
#include "framework/MessageBox.h"
#include "present/ReportRows.h"
#include "search/Scanner.h"

std::string ReportFileName;
TextFile ReportFile;

void COutputFileDialog::DoDataExchange(DataExchange& dx)
{
    dx.EditText(IDC_OUTPUT_FILE_NAME, m_strFileName);
    dx.MaxChars(m_strFileName, 512);
}

void COutputFileDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    ReportFileName = m_strFileName;
    Dialog::OnOK();
}

bool CScanDialog::ObtainReportFile()
{
    for (;;) {
        {
            COutputFileDialog dialog;
            if (dialog.DoModal() != IDOK)
                return false;
        }
        if (ReportFile.Open(ReportFileName, TextFile::Mode::Read)) {
            ReportFile.Abort();
            const int answer = AppMessageBox(
                "The file: " + ReportFileName + " already exists.\nDo you want to overwrite it?",
                MB_YESNO | MB_ICONEXCLAMATION);
            if (answer != IDYES)
                continue;
        }
        for (;;) {
            if (ReportFile.Open(ReportFileName, TextFile::Mode::CreateWrite))
                return true;
            if (AppMessageBox("Unable to open file: " + ReportFileName, MB_RETRYCANCEL | MB_ICONEXCLAMATION) !=
                IDRETRY)
                break;
        }
    }
}

void WriteReport()
{
    const ReferenceTables& tables = TheReferenceTables();
    auto line = [](std::string_view text) {
        ReportFile.WriteString(text);
        ReportFile.WriteString("\n");
    };
    try {
        line(kSearchedFilesHeading);
        line(std::string(kSearchedFilesHeading.size(), '-'));
        ForEachSearchedFileRow(tables, line);
        line(kFoundLibrariesHeading);
        line(std::string(kFoundLibrariesHeading.size(), '-'));
        ForEachFoundLibraryRow(tables, line);
        ReportFile.Close();
    } catch (...) {
        ReportFile.Abort();
        ReleaseReferenceTables();
        throw;
    }
    ReleaseReferenceTables();
}
