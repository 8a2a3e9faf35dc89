// The installation flow behind Next on the port page, the result page, and the hidden
// installation. Entry points only for now: page 4 is showing when RunInstallation starts.
#include "frmMain_VKT.h"

// Continues the Next click of the port page once the printer name has been accepted.
void TFormMain_VKT::RunInstallation() {}

void TFormMain_VKT::btn05_TestPageClick() {}

// Ctrl + double-click on the left picture.
void TFormMain_VKT::img1DblClick() {}
