// The main dialog's control IDs. Plain macros, because the resource compiler reads this
// file too; the code, the dialog template and the window driver all take them from here.
#pragma once

#define IDC_PATH_BOX 1000
#define IDC_SELECT_NIF 1001
#define IDC_TEXTURE_LIST 1002
#define IDC_REPLACEMENT_LIST 1003
#define IDC_SELECT_TEXTURES 1004
#define IDC_CREATE_NIFS 1005
#define IDC_FOLDER_BOX 1006
