#include "app/planner/PlanRecovery.h"

#include "PlannerFixture.h"
#include "app/planner/PlannerTexts.h"
#include "formats/RouteDocumentCoder.h"

#include <QFile>

using namespace zuvo;
using namespace zuvo::test;
using app::PlanRecovery;

TEST_F(PlannerViewModelTest, RecoveryKeepsUnsavedWorkUntilItIsSavedOrThrownAway)
{
    const QString path = home.filePath("state/tramu/recovery.json");
    auto recovery = std::make_unique<PlanRecovery>(path, *vm);
    EXPECT_FALSE(recovery->left());
    build(2);
    recovery->flush();
    auto left = PlanRecovery::read(path);
    ASSERT_TRUE(left) << "every finished edit is kept";
    EXPECT_EQ(left->name, "Untitled");
    EXPECT_FALSE(left->documentPath);
    EXPECT_EQ(formats::RouteDocumentCoder::decode(left->document)->anchors.size(), 2u);

    const QString saved = home.filePath("Kandel.gpx");
    ASSERT_TRUE(vm->saveDocument(saved));
    recovery->flush();
    EXPECT_FALSE(QFile::exists(path)) << "nothing unsaved, nothing to recover";
    vm->setRoundTrip(true);
    settle();
    recovery->flush();
    left = PlanRecovery::read(path);
    ASSERT_TRUE(left);
    EXPECT_EQ(left->name, "Kandel");
    EXPECT_EQ(left->documentPath, saved);
    EXPECT_LE(left->savedAt.secsTo(QDateTime::currentDateTimeUtc()), 5);

    // The planner ends without a word; the next one finds the plan and takes it back.
    recovery.reset();
    vm = makeViewModel();
    recovery = std::make_unique<PlanRecovery>(path, *vm);
    ASSERT_TRUE(recovery->left());
    build(2);
    recovery->flush();
    EXPECT_EQ(PlanRecovery::read(path)->name, "Kandel") << "kept until the rider answers";
    recovery->restore();
    settle();
    EXPECT_EQ(vm->route().anchors.size(), 2u);
    EXPECT_TRUE(vm->route().roundTrip);
    EXPECT_EQ(vm->documentName(), "Kandel");
    EXPECT_EQ(vm->documentURL(), QUrl::fromLocalFile(saved));
    EXPECT_TRUE(vm->isDirty()) << "what was not saved is still not saved";
    recovery->flush();
    EXPECT_TRUE(PlanRecovery::read(path)->document.contains("roundTrip=\"true\""));

    // Thrown away: the file goes once nothing is unsaved; a normal quit removes it too.
    recovery.reset();
    vm = makeViewModel();
    recovery = std::make_unique<PlanRecovery>(path, *vm);
    recovery->discard();
    recovery->flush();
    EXPECT_FALSE(QFile::exists(path));
    build(1);
    recovery->flush();
    EXPECT_FALSE(QFile::exists(path)) << "a single point is no plan to keep";
    build(2);
    recovery->flush();
    EXPECT_TRUE(QFile::exists(path));
    recovery->finish();
    EXPECT_FALSE(QFile::exists(path));

    // A damaged file offers nothing.
    writeFile(path, "{\"savedAt\": \"yesterday\", \"document\": \"<gpx/>\"}");
    EXPECT_FALSE(PlanRecovery(path, *vm).left());
    EXPECT_EQ(app::PlannerTexts::restoreQuestion("Kandel",
                                                 QDateTime(QDate(2026, 5, 1), QTime(16, 42)),
                                                 QDateTime(QDate(2026, 5, 2), QTime(9, 0))),
              "Restore unsaved route 'Kandel' from 1 May 2026, 16:42?");
}
