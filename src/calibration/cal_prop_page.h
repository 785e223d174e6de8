#pragma once

#include "config_page.h"

// The Calibration tab: sensor trim, output trim and fixed current.
class CCalPropPage : public CConfigPage {
    Q_OBJECT

public:
    explicit CCalPropPage(QWidget* parent = nullptr);

    bool RefreshFromDocument() override;
    void EnableDeviceControls(bool enable) override;
};
