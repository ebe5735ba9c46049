/* Printer driver of the "Corvel PDF" printer. Pages reach the spooler as EMF spool data;
   on Linux the print-job starter writes that data, so the driver only names itself. */
#define KVX_EXPORT __attribute__((visibility("default")))

KVX_EXPORT const char* KvxDriverName(void)
{
    return "Corvel PDF";
}

/* The data type of the jobs this driver spools. */
KVX_EXPORT const char* KvxDriverDataType(void)
{
    return "NT EMF 1.008";
}
