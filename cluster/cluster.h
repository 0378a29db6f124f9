#pragma once

#include <memory>

#include "audit/gaps.h"
#include "core/draw_peers.h"

namespace loto {

// The processes of one run of loto-sim: this one alone, or the ranks of an MPI job (mpirun).
// Rank 0 leads: it reads the options, draws and prints, and shares each long run's draws and each
// calibration's fair histories with the other ranks, which do what it asks until it ends.
class Cluster {
public:
    // Joins the job where the process was started by mpirun and the build has MPI.
    Cluster(int& argc, char**& argv);
    // The leader tells every other rank that the run is over.
    ~Cluster();
    Cluster(const Cluster&) = delete;
    Cluster& operator=(const Cluster&) = delete;

    [[nodiscard]] bool leader() const noexcept;
    // The other ranks, for the leader's engines and calibrations; none when alone.
    [[nodiscard]] DrawPeers* peers() noexcept;
    [[nodiscard]] CalibrationPeers* calibrationPeers() noexcept;
    // Another rank's part: the blocks the leader asks for, until it ends the run.
    void Serve();

private:
    struct Job;
    std::unique_ptr<Job> job_;
};

}  // namespace loto
