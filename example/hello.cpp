#include <stdio.h>

#include "greet.h"

int main(void)
{
    greet("world");
    return 0;
}
