# The preferences sheet is its own library, above the document and the dialogs.
target_link_libraries(${target} PRIVATE stavlin_preferences)
