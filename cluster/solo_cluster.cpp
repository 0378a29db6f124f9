// A build without MPI: every process runs alone.
#include "cluster/cluster.h"

namespace loto {

struct Cluster::Job {};

Cluster::Cluster(int& /*argc*/, char**& /*argv*/) {}

Cluster::~Cluster() = default;

bool Cluster::leader() const noexcept {
    return true;
}

DrawPeers* Cluster::peers() noexcept {
    return nullptr;
}

CalibrationPeers* Cluster::calibrationPeers() noexcept {
    return nullptr;
}

void Cluster::Serve() {}

}  // namespace loto
