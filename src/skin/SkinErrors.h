#pragma once

// The run-time errors the skin's procedures log, with the descriptions the log has
// always carried for them.
namespace SkinError {
inline constexpr long ObjectNotSet = 91;
inline constexpr long NoSuchMember = 438;
inline constexpr const char* ObjectNotSetText = "Object variable or With block variable not set";
inline constexpr const char* NoSuchMemberText = "Object doesn't support this property or method";
} // namespace SkinError
