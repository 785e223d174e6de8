#include "cal_prop_page.h"

CCalPropPage::CCalPropPage(QWidget* parent) : CConfigPage(parent) {}

bool CCalPropPage::RefreshFromDocument() { return false; }

void CCalPropPage::EnableDeviceControls(bool) {}
