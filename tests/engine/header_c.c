/* header_c.c - compiles the engine's public header alone as strict C99. */
#include "trv600.h"

/* Touch a few declarations so that their types are checked from C. */
int trv_header_c_probe(void);
int trv_header_c_probe(void)
{
    TRVDrawCellProc draw = 0;
    TRVMessageBoxProc box = 0;
    (void)draw;
    (void)box;
    return TRV_EDGE + TRV_RED + TRV_IDIGNORE;
}
