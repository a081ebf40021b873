// Real-time scheduling for a thread that must run on time, asked for the
// way desktop audio programs ask: from RealtimeKit on the system bus where
// it answers, else from the kernel directly where the process may set a
// real-time policy (root, CAP_SYS_NICE or an rtprio limit).
#pragma once

// Moves the calling thread to a modest real-time priority when either way
// grants it, and leaves it at normal priority, quietly, when none does.
// From then on the process is ended if one of its real-time threads runs
// 200 ms without blocking.
void AskRealtimeScheduling();
