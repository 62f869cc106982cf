/* The tables of delay-loaded DLLs (cmake/DelayLoad.cmake): names, addresses, hints and DLL
   names of each library, kept together and in order like those of the import directory. */
SECTIONS
{
  .didat BLOCK(__section_alignment__) :
  {
    KEEP (SORT(*)(.didat$4))
    KEEP (SORT(*)(.didat$5))
    KEEP (SORT(*)(.didat$6))
    KEEP (SORT(*)(.didat$7))
  }
}
INSERT AFTER .idata;
