/* The yardstick of the program's start-up: a C program that only starts. */
int main(void)
{
    return 0;
}
