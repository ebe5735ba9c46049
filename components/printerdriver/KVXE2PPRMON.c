/* Port monitor of the "Corvel PDF" printer. The spooler loads it when the monitor is
   added and asks for the ports it offers. */
#define KVX_EXPORT __attribute__((visibility("default")))

KVX_EXPORT const char* KvxMonitorPortNames(void)
{
    return "Corvel PDF Port";
}
