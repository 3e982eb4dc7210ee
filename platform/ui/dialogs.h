// Message boxes, the folder-selection dialog and the database login dialog.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

// A plain message box with the application title as caption, owned by the
// active window of the program.
void ShowMessage(const std::string& text);
// The same for an error that ended a handler.
void ShowError(const std::string& text);

// The shell's folder browser, modal, title above the tree, rooted at root;
// initial (when not empty) is selected on opening. Only file-system folders
// can be chosen. The other windows of the program are disabled and the
// system's critical-error boxes suppressed while it is open. The dialog
// window carries the name "SelectDirectory". True and the folder's path when
// the user confirms.
bool SelectDirectory(HWND owner, const std::string& title, const std::string& root, const std::string& initial,
                     std::string& folder);

// The database login dialog: shows the database name, asks for a user name
// and a password (masked). Named windows: form "LoginDialog", label
// "DatabaseName", edits "UserName" and "Password", buttons "OKButton" and
// "CancelButton". True, with the entered texts, when the user confirms.
bool LoginDialog(const std::string& databaseName, std::string& userName, std::string& password);

}  // namespace ui
