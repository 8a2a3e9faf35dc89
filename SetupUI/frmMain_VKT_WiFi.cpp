// The Wi-Fi side of the wizard: pre-fill from the PC's network, the echo check behind the
// IP-address label, and (to come) the Wi-Fi set-up of the installation flow.
#include "frmMain_VKT.h"

// Step 2 of rb03_WiFiClick: the PC's current Wi-Fi network and key replace the fields.
// Reading the PC's network is not built yet; the fields stay as they are.
void TFormMain_VKT::PrefillWiFiFromPC() {}

// An echo series of four requests to the address field; its outcome is neither shown
// nor logged. Not built yet.
void TFormMain_VKT::lbl03_WiFi_IPAddressDblClick() {}
