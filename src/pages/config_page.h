#pragma once

#include <vector>

#include <QWidget>

#include "document/report_lines.h"

namespace document {
class CVeskDoc;
}

// What every page on the view's tab control offers the view.
class CConfigPage : public QWidget {
    Q_OBJECT

public:
    explicit CConfigPage(QWidget* parent = nullptr) : QWidget(parent) {}

    virtual void SetDocument(document::CVeskDoc* doc) { m_pDoc = doc; }
    // Fills the page from the parameter set; true when one of its values is flagged.
    virtual bool RefreshFromDocument() = 0;
    // Enables or disables the page's device-command controls.
    virtual void EnableDeviceControls(bool enable) = 0;
    // The page's lines of the configuration report, as its controls show them now; none
    // for a page the report leaves out.
    virtual std::vector<document::ReportLine> PrintSection() const { return {}; }

protected:
    document::CVeskDoc* m_pDoc = nullptr;
};
