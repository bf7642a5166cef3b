// The owner of the precompiled header the project's targets share
// (cmake/lighterbuilds.cmake): nothing of its own.
namespace {
[[maybe_unused]] constexpr int kNothing = 0;
}
