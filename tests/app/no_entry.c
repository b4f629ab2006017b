/* A loadable library without IKOLMAR. */
int kolmar_not_the_engine(int x) { return x + 1; }
