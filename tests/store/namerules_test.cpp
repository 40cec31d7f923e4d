#include "store/namerules.h"
#include "store/tagcatalogue.h"
#include "support/qtsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using NameRules::EKind;
using NameRules::EProblem;

const QByteArray kCatalogue = "[Priority]\nImportant\nNormal\n[Work]\nReport\nReport\nPlan\n";

TEST(NameRulesTest, EveryNameThatWouldComeBackAsSomethingElseIsRefused)
{
    const struct
    {
        EKind kind;
        QString name;
        EProblem problem;
    } cases[] = {
        {EKind::Tag, u"Two\nLines"_qs, EProblem::ControlCharacter},
        {EKind::Group, u"Tab\there"_qs, EProblem::ControlCharacter},
        {EKind::Location, u"Cr\rhere"_qs, EProblem::ControlCharacter},
        {EKind::Tag, u"A\u2028B"_qs, EProblem::ControlCharacter},
        {EKind::Group, u"[Tasks]"_qs, EProblem::Brackets},
        {EKind::Group, u"a]b"_qs, EProblem::Brackets},
        {EKind::Tag, u"x[y"_qs, EProblem::Brackets},
        {EKind::Location, u"[Office]"_qs, EProblem::None},
        {EKind::Group, u" Contacts "_qs, EProblem::ReservedGroup},
        {EKind::Group, u"Tasks"_qs, EProblem::None},
        {EKind::Group, u"contacts"_qs, EProblem::None},
        {EKind::Tag, u"Contacts"_qs, EProblem::None},
        {EKind::Location, u"Home~2"_qs, EProblem::Tilde},
        {EKind::Tag, u"x~y"_qs, EProblem::None},
        {EKind::Tag, QString(258, u'a'), EProblem::None},
        {EKind::Tag, QString(259, u'a'), EProblem::TooLong},
        {EKind::Group, QString(256, u'a'), EProblem::None},
        {EKind::Group, QString(257, u'a'), EProblem::TooLong},
        {EKind::Tag, QString(130, u'\u00E9'), EProblem::TooLong}, // 130 letters, 260 bytes
        {EKind::Tag, u"  "_qs + QString(258, u'a') + u"  "_qs, EProblem::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameRules::Check(c.kind, c.name), c.problem) << c.name.toStdString();
        EXPECT_EQ(NameRules::Refusal(c.kind, c.name).isEmpty(), c.problem == EProblem::None);
    }
}

class CatalogueRefusalTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(WriteAll(m_catalogue.Path(), kCatalogue)); }
    QByteArray File() const { return ReadAll(m_catalogue.Path()); }

    QTemporaryDir m_dir;
    CTagCatalogue m_catalogue{m_dir.path()};
};

TEST_F(CatalogueRefusalTest, EveryWriterRefusesAnUnsafeNameAndLeavesTheFileAlone)
{
    const QString twoLines = u"Two\nLines"_qs;
    EXPECT_EQ(m_catalogue.AddTag(u"Priority"_qs, twoLines), ECatalogueResult::ControlCharacter);
    EXPECT_EQ(m_catalogue.AddTagFirst(u"Priority"_qs, QString(259, u'x')),
              ECatalogueResult::TooLong);
    EXPECT_EQ(m_catalogue.AddGroup(u"Evil\nInjected"_qs), ECatalogueResult::ControlCharacter);
    EXPECT_EQ(m_catalogue.AddGroup(u"[Tasks]"_qs), ECatalogueResult::InvalidName);
    EXPECT_EQ(m_catalogue.AddGroup(u"Location"_qs), ECatalogueResult::ReservedName);
    EXPECT_EQ(m_catalogue.CopyGroup(u"Work"_qs, u"Task"_qs), ECatalogueResult::ReservedName);
    EXPECT_FALSE(m_catalogue.RenameGroup(u"Work"_qs, u"None"_qs));
    EXPECT_FALSE(m_catalogue.RenameTag(u"Work"_qs, u"Plan"_qs, twoLines));
    EXPECT_EQ(File(), kCatalogue);
}

TEST_F(CatalogueRefusalTest, ACopyIsWrittenWholeInOneRewrite)
{
    EXPECT_EQ(m_catalogue.CopyGroup(u"Work"_qs, u" Work01 "_qs), ECatalogueResult::Ok);
    // A tag written twice by hand is copied once.
    EXPECT_EQ(File(), kCatalogue + "[Work01]\nReport\nPlan\n");
    EXPECT_EQ(m_catalogue.CopyGroup(u"Work"_qs, u"Work01"_qs), ECatalogueResult::AlreadyExists);
    EXPECT_EQ(m_catalogue.CopyGroup(u"Gone"_qs, u"Gone01"_qs), ECatalogueResult::WriteFailed);
    EXPECT_EQ(m_catalogue.CopyGroup(u"Work"_qs, u" "_qs), ECatalogueResult::EmptyName);
    EXPECT_EQ(File(), kCatalogue + "[Work01]\nReport\nPlan\n");
}

} // namespace
