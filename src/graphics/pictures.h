// The picture catalogue surfaces (module WorkWithMemory) and the capture state (Tavex).
#pragma once

#include <cstdint>
#include <string>

namespace vorlan {

struct Pictures {
};

}  // namespace vorlan
