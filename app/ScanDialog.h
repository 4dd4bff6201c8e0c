// The main dialog: the form a search starts from (drive, directory list,
// file types, options), its initialisation, its handlers, and the About box.
#pragma once

#include "framework/Dialog.h"
#include "res/resource.h"

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

// One directory of a walk: its path, joined level by level.
struct DirectoryWalkRecord {
    std::string path;
};

class CScanDialog : public DialogImpl<CScanDialog> {
public:
    explicit CScanDialog(HWND parent = nullptr);
    ~CScanDialog() override;

    // Keeps only directories and files whose names contain ".exe" or ".dll".
    void PruneToApplicationFiles();

    // Asks for the report's name and opens ReportFile for writing; false
    // when the user gave up.
    bool ObtainReportFile();

    // The search run: OK's work, and its parts.
    void RunSearch();
    void SearchSelection();
    // FileWorkList := the files of directory that pass the type filter.
    void ListFilesOfTypes(std::string directory);
    // SubdirScratchList := the sub-directories of directory, as [name].
    void ListSubdirectories(std::string directory);
    // Appends every directory below the record's to DirectoryWorkList, each
    // after the directories below it.
    void CollectDirectories(DirectoryWalkRecord* record);

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
    DirectoryWalkRecord* m_pWalkRoot = nullptr;  // root of a directory walk, during a search only
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
    void ScanFileList(const std::string& directory, const RECT& client);
    bool EnterOnce(const std::string& directory);

    // Directories entered by the current walk, by volume and file index: a
    // link that leads back into the walk is not followed again.
    std::set<std::pair<DWORD, std::uint64_t>> m_enteredDirectories;
};

class CAboutDialog : public DialogImpl<CAboutDialog> {
public:
    CAboutDialog() : DialogImpl(IDD_ABOUTBOX) {}

    static std::span<const CommandEntry<CAboutDialog>> Commands() { return {}; }
    static std::span<const MessageEntry<CAboutDialog>> Messages() { return {}; }

protected:
    BOOL OnInitDialog() override;
};
