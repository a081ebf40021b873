// SIGTERM, SIGINT, SIGHUP and SIGQUIT turned into a readable descriptor, so that the
// message loop can close its window the normal way when one arrives.
#pragma once

void InstallEndSignals();
// Readable while an end signal waits to be taken.
int EndSignalDescriptor();
// True once for every arrival of an end signal.
bool TakeEndSignal();
