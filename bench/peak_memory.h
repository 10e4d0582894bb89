// Peak memory of a piece of work, measured in a child process so that nothing the
// benchmark itself holds or has freed gets in the way.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

// How far the resident memory rose above its level when `work` started, at its highest,
// in bytes. nullopt where the system does not report it (Linux /proc is needed).
std::optional<std::uint64_t> PeakGrowthInChild(const std::function<void()>& work);
