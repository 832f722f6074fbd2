// What only some commands need (printing, the feedback sound) lives in modules beside the
// executable, loaded on first use: start-up does not load their libraries.
#pragma once
#include <string>

namespace modules {

inline constexpr const char* kPrint = "verosta_print";
inline constexpr const char* kSound = "verosta_sound";

// The folder modules load from: the executable's folder until set (tests and benchmarks run
// elsewhere and set the program folder of the build).
void SetFolder(const std::string& folder);

// The address of `symbol` in `module`, loading the module on first use; null when either
// is missing.
void* Resolve(const char* module, const char* symbol);

template <class F>
F* Function(const char* module, const char* symbol) {
  return reinterpret_cast<F*>(Resolve(module, symbol));
}

}  // namespace modules
