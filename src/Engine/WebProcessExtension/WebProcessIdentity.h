#pragma once

// The message a web process sends to each of its pages' views, so that the view knows which process
// renders it. Its parameters are "(ut)": the process's own id and the inode of its PID namespace, both
// as the process sees them from inside WebKit's sandbox.
namespace cohortex::WebProcessIdentity {

inline constexpr const char* messageName = "com.kestrelwick.cohortex.WebProcessIdentity";
inline constexpr const char* parameterType = "(ut)";

} // namespace cohortex::WebProcessIdentity
