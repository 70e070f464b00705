int f() {
    int n = count(items);
    if (n > 0 && ready)
        total += n;
    return n;
}
