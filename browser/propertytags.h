#pragma once

#include "browser/browserpage.h"

class QTreeWidget;

// The page "Tags": the tag groups the records carry, each with its tags, and the records
// that carry every marked tag, each in its own group. A tap marks a tag or lets it go;
// with no tag marked every record that carries a tag is listed.
class CPropertyTags : public CBrowserPage
{
    Q_OBJECT
public:
    explicit CPropertyTags(SPageServices& services, QWidget* parent = nullptr);

    QTreeWidget* TagTree() const { return m_tree; }
    QList<SRecordTag> MarkedTags() const;
    // Marks or unmarks a tag as a tap on it does; false when the tree does not show it.
    bool TapTag(const QString& group, const QString& tag);

    static QString NoTagsText();

protected:
    SRecordQuery Query() const override;
    bool RefreshSelectors() override;

private:
    void FillTree();

    QTreeWidget* m_tree;
};
