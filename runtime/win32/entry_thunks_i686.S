# The runtime's side of the entry slots that take a value in a register.
        .intel_syntax noprefix
        .text

# Slots 2 and 3. eax: the command; ecx: the library index (slot 2; unused). On the stack: the
# argument count, then the argument records. Zeroes a 12-byte result record, calls
# command(result, count, records) and returns the record's three words in eax, edx and ecx.
        .globl  _velmora_command_entry
_velmora_command_entry:
        push    ebp
        mov     ebp, esp
        sub     esp, 12
        mov     dword ptr [ebp-12], 0
        mov     dword ptr [ebp-8], 0
        mov     dword ptr [ebp-4], 0
        lea     ecx, [ebp+12]
        push    ecx
        push    dword ptr [ebp+8]
        lea     ecx, [ebp-12]
        push    ecx
        call    eax
        mov     eax, [ebp-12]
        mov     edx, [ebp-8]
        mov     ecx, [ebp-4]
        leave
        ret

# Slot 12. eax: the service number; on the stack: the service's arguments.
        .globl  _velmora_runtime_service_entry
_velmora_runtime_service_entry:
        lea     ecx, [esp+4]
        push    ecx
        push    eax
        call    _velmora_runtime_service
        add     esp, 8
        ret
