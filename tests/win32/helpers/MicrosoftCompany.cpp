// A program file whose version resource names "Microsoft Corporation": the
// scans must never report it, wherever it lies and whatever it is called.
int wmain() {
    return 0;
}
