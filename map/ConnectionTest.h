#pragma once

#include <functional>
#include <optional>

// Whether the system reports an Internet connection. The real test asks the
// system's network information (where a backend exists) and otherwise looks
// for a non-loopback interface that is up and has an address; the answer is
// kept for a second, since the map asks a hundred times a second.
using ConnectionTest = std::function<bool()>;
ConnectionTest systemConnectionTest();
// Replaces the system's answer (tests); nullopt gives it back.
void overrideConnection(std::optional<bool> online);
