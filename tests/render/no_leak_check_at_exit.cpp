// Turns off LeakSanitizer's check at exit in the programs that hold a GL context until they end.
//
// The check stops the process with a tracer that scans each thread's stack and thread-local
// storage. With Mesa's software driver loaded, the sanitizer runtime of this toolchain's tracer
// can crash there ("Tracer caught signal 11", "LeakSanitizer has encountered a fatal error")
// after every test of the program has passed, depending on nothing but the size of the
// environment, which shifts the stack: a test run that fails for no fault of ours. AddressSanitizer
// and UndefinedBehaviorSanitizer still watch these programs; leaks of the drawing code are
// looked for by the end-to-end run of the real demo under memcheck.
extern "C" int __lsan_is_turned_off() {
    return 1;
}
