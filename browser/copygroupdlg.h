#pragma once

#include "browser/namedlg.h"

class CTagCatalogue;

// "Copy Tag Group": proposes a free name for the copy; OK checks the name the user keeps.
// The tag manager makes the copy.
class CCopyGroupDlg : public CNameDlg
{
    Q_OBJECT
public:
    CCopyGroupDlg(const CTagCatalogue& catalogue, const QString& proposed, MBrowserPrompts& prompts,
                  QWidget* parent = nullptr);

protected:
    QString Refusal() override;

private:
    const CTagCatalogue& m_catalogue;
};
