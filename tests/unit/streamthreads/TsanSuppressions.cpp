// FluidSynth loads a soundfont's samples on OpenMP threads. libgomp is not
// built with the thread sanitizer, so its own hand-offs between those
// threads look like races; reports with a libgomp frame are set aside.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:libgomp.so\n";
}
