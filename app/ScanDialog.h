// The main dialog: the form a search starts from (drive, directory list,
// file types, options), its initialisation, its handlers, and the About box.
#pragma once

#include "framework/Dialog.h"
#include "res/resource.h"

#include <string>
#include <vector>

class CScanDialog : public DialogImpl<CScanDialog> {
public:
    explicit CScanDialog(HWND parent = nullptr);
    ~CScanDialog() override;

    // Keeps only directories and files whose names contain ".exe" or ".dll".
    void PruneToApplicationFiles();

    // Asks for the report's name and opens ReportFile for writing; false
    // when the user gave up.
    bool ObtainReportFile();

    // Option fields: each mirrors its check box at every moment.
    std::string m_strFilter;
    int m_bType386 = 0;
    int m_bTypeCom = 0;
    int m_bTypeDll = 0;
    int m_bTypeDrv = 0;
    int m_bTypeExe = 0;
    int m_bTypeOcx = 0;
    int m_bTypeSys = 0;
    int m_bTypeVbx = 0;
    int m_bIncludeSubdirectories = 0;
    std::string m_strDrive;
    int m_bOutputToFile = 0;
    char* m_pWalkRoot = nullptr;  // root record of a directory walk, during a search only
    HICON m_hIcon;

    // The message map.
    static std::span<const CommandEntry<CScanDialog>> Commands();
    static std::span<const MessageEntry<CScanDialog>> Messages();

protected:
    void DoDataExchange(DataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    bool OnSysCommand(WPARAM w, LPARAM l, LRESULT& result);
    bool OnDestroy(WPARAM w, LPARAM l, LRESULT& result);
    bool OnPaint(WPARAM w, LPARAM l, LRESULT& result);
    bool OnQueryDragIcon(WPARAM w, LPARAM l, LRESULT& result);

    void OnExit();
    void OnClickType386();
    void OnClickIncludeSubdirectories();
    void OnClickTypeCom();
    void OnClickTypeDll();
    void OnClickTypeDrv();
    void OnClickTypeExe();
    void OnClickTypeOcx();
    void OnClickTypeSys();
    void OnClickTypeVbx();
    void OnClickOutputToFile();

    // The directory browser.
    void OnDblclkDirectoryContents();
    void OnSelchangeDriveCombo();
    void OnSelchangeFileFilterCombo();

    void FillDriveCombo(std::vector<char>& root);
};

class CAboutDialog : public DialogImpl<CAboutDialog> {
public:
    CAboutDialog() : DialogImpl(IDD_ABOUTBOX) {}

    static std::span<const CommandEntry<CAboutDialog>> Commands() { return {}; }
    static std::span<const MessageEntry<CAboutDialog>> Messages() { return {}; }

protected:
    BOOL OnInitDialog() override;
};
