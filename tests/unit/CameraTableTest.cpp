#include "ModuleFixture.h"
#include "acquisition/AcquisitionState.h"
#include "camera/CameraTable.h"

namespace {

// The table as the first command leaves it: reset once the driver loaded,
// with acquisition's release hook wired.
class CameraTableTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        run(1, "Version");
    }
};

TEST_F(CameraTableTest, AfterResetEverySlotIsFreeAndNoKeyIsFound) {
    for (int32_t key : {0, 1, 1001, -2, INT32_MAX}) EXPECT_EQ(FindCameraSlot(key), kNoSlot);
    EXPECT_EQ(FindCameraSlot(kFreeSlotKey), 0);  // -1 is the free marker
    EXPECT_EQ(findOpenCamera(kFreeSlotKey), nullptr);
}

TEST_F(CameraTableTest, SeventeenthClaimFailsAndChangesNothing) {
    for (int i = 0; i < kMaxCameras; ++i) EXPECT_EQ(ClaimCameraSlot(100 + i), i);
    EXPECT_EQ(ClaimCameraSlot(500), kNoSlot);
    EXPECT_EQ(FindCameraSlot(500), kNoSlot);
    for (int i = 0; i < kMaxCameras; ++i) EXPECT_EQ(cameraSlot(i).key.load(), 100 + i);
}

TEST_F(CameraTableTest, DuplicateKeysResolveToTheLowerSlotUntilItIsReleased) {
    EXPECT_EQ(ClaimCameraSlot(7), 0);
    EXPECT_EQ(ClaimCameraSlot(8), 1);
    EXPECT_EQ(ClaimCameraSlot(7), 2);
    EXPECT_EQ(FindCameraSlot(7), 0);
    EXPECT_EQ(ReleaseCameraSlot(7), 0);
    EXPECT_EQ(FindCameraSlot(7), 2);
    EXPECT_EQ(ClaimCameraSlot(9), 0);  // the lowest free slot
}

TEST_F(CameraTableTest, ReleasingAnAbsentKeyChangesNothing) {
    ClaimCameraSlot(3);
    EXPECT_EQ(ReleaseCameraSlot(4), kNoSlot);
    EXPECT_EQ(FindCameraSlot(3), 0);
}

TEST_F(CameraTableTest, AReclaimedSlotReadsZeroWhateverTheLastCameraLeft) {
    int index = ClaimCameraSlot(5);
    CameraSlot& slot = cameraSlot(index);
    AcquisitionSlot& record = acquisitionSlot(index);
    slot.deviceHandle = 99;
    slot.settingsBlock[10] = 1;
    record.frameReadyCount = 4;
    record.diskReadCount = 2;
    record.transfer.status1 = 1;
    record.segmentTable[kSegmentTableEntries - 1] = 42;
    ReleaseCameraSlot(5);
    ASSERT_EQ(ClaimCameraSlot(6), index);
    EXPECT_EQ(slot.deviceHandle.load(), 0u);
    EXPECT_EQ(slot.settingsBlock[10], 0u);
    EXPECT_EQ(record.frameReadyCount.load(), 0u);
    EXPECT_EQ(record.diskReadCount.load(), 0u);
    EXPECT_EQ(record.transfer.status1, 0u);
    EXPECT_EQ(record.segmentTable[kSegmentTableEntries - 1], 0u);
}

}  // namespace
