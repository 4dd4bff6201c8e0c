// Resource and control ids of veltscan. Shared by the resource script and
// the code; the numbers are fixed.
#pragma once

// Dialog templates, strings and the icon
#define IDD_ABOUTBOX 100
#define IDS_ABOUT_MENU 101
#define IDD_VELTSCAN_DIALOG 102
#define IDI_VELTSCAN 128
#define IDD_RESULTS 131
#define IDD_OUTPUT_FILE 140

// System menu command of the About item
#define IDM_SYSMENU_ABOUT 0x0010

// Main dialog
#define IDC_INCLUDE_SUBDIRECTORIES 1001
#define IDC_OUTPUT_TO_FILE 1002
#define IDC_DIRECTORY_CONTENTS 1006
#define IDC_CURRENT_DIRECTORY 1007
#define IDC_FILE_FILTER 1008
#define IDC_FILE_WORK_LIST 1009
#define IDC_DIRECTORY_WORK_LIST 1010
#define IDC_EXIT 1011
#define IDC_TYPE_EXE 1012
#define IDC_TYPE_DLL 1013
#define IDC_TYPE_COM 1014
#define IDC_TYPE_SYS 1015
#define IDC_TYPE_DRV 1016
#define IDC_TYPE_OCX 1017
#define IDC_TYPE_VBX 1018
#define IDC_TYPE_386 1019
#define IDC_SUBDIR_SCRATCH_LIST 1020
#define IDC_DRIVE 1021

// Output file dialog
#define IDC_OUTPUT_FILE_NAME 1002

// Results window
#define IDC_RESULTS_CLOSE 1009
#define IDC_LIBRARY_LIST 1010
#define IDC_SEARCHED_FILE_LIST 1011

// Help command (the Help button's id)
#ifndef ID_HELP
#define ID_HELP 57670
#endif
