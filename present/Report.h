// The text report: its file name and file, the "Output file" dialog that
// asks for the name, and the writer of the two sections.
#pragma once

#include "framework/Dialog.h"
#include "framework/File.h"
#include "res/resource.h"

#include <string>

// The report's path as last typed into the "Output file" dialog.
extern std::string ReportFileName;
// Open for writing from a successful ObtainReportFile until WriteReport.
extern TextFile ReportFile;

class COutputFileDialog : public DialogImpl<COutputFileDialog> {
public:
    explicit COutputFileDialog(HWND parent = nullptr) : DialogImpl(IDD_OUTPUT_FILE, parent) {}

    std::string m_strFileName;

    static std::span<const CommandEntry<COutputFileDialog>> Commands() { return {}; }
    static std::span<const MessageEntry<COutputFileDialog>> Messages() { return {}; }

protected:
    void DoDataExchange(DataExchange& dx) override;
    void OnOK() override;
};

// Writes both sections of this run's tables to ReportFile, closes it and
// releases the tables. When a write or the close fails, the file is still
// closed and the tables released before the failure goes on to be shown.
void WriteReport();
