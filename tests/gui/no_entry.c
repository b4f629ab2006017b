/* A loadable library that is not the engine: it has no IKOLMAR. */
int kolmar_gui_test_not_the_engine(int x) {
    return x + 1;
}
