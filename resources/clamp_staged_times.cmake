# Run by cpack once it has staged a package's files, before it packs them: with SOURCE_DATE_EPOCH
# set (script/release sets the commit's time), every staged file and folder takes that time, so
# that the packages carry the same times whenever they are built.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(
        COMMAND find ${CPACK_TEMPORARY_DIRECTORY} -exec
                touch --no-dereference --date=@$ENV{SOURCE_DATE_EPOCH} {} +
        COMMAND_ERROR_IS_FATAL ANY)
endif()
