// Drive letters on Linux: not yet mapped onto volumes.

#include "platform/platform.h"

namespace kelvane {
namespace {

class NoVolumes final : public VolumeSource {
public:
    bool Probe(int) override { return false; }
    bool FreeSpace(int, VolumeSpace&) override { return false; }
    QString MountPoint(int) const override { return {}; }
};

}  // namespace

std::unique_ptr<VolumeSource> MakeSystemVolumes() { return std::make_unique<NoVolumes>(); }

}  // namespace kelvane
